#pragma once

#include <QDialog>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class CIni;
class QPushButton;
class Ui;

// The lot data of the turbidity standards: set lot, expiry, manufacturer and a comment
// per standard. The caller fills the properties, shows the dialog modally and reads them
// back when DlgRetVal is true. Accept and Cancel only hide the dialog, so the same one
// serves again; closing it by its frame destroys it.
class frmCalProtEdit : public QDialog {
    Q_OBJECT
public:
    static constexpr int kStandards = 5;
    static constexpr int kMaxLength = 15;

    frmCalProtEdit(Ui& ui, CIni& ini, QWidget* parent = nullptr);

    bool DlgRetVal() const { return m_dlgRetVal; }
    QString ChargeIDTotal() const;
    void ChargeIDTotal(const QString& value);
    QString Expiry() const;
    void Expiry(const QString& value);
    QString Manufacturer() const;
    void Manufacturer(const QString& value);
    short NumCalPoints() const { return m_numCalPoints; }
    // Above five shows five.
    void NumCalPoints(short value);
    // Standard i: 0 low, 1 mid, 2 high, 3 the 4th, 4 the 5th.
    QString ChargeIDStd(int i) const;
    void ChargeIDStd(int i, const QString& value);
    void Std_FNUNTU(int i, const QString& caption);

    QString ChargeIDStdLow() const { return ChargeIDStd(0); }
    void ChargeIDStdLow(const QString& v) { ChargeIDStd(0, v); }
    QString ChargeIDStdMid() const { return ChargeIDStd(1); }
    void ChargeIDStdMid(const QString& v) { ChargeIDStd(1, v); }
    QString ChargeIDStdHigh() const { return ChargeIDStd(2); }
    void ChargeIDStdHigh(const QString& v) { ChargeIDStd(2, v); }
    QString ChargeIDStd4() const { return ChargeIDStd(3); }
    void ChargeIDStd4(const QString& v) { ChargeIDStd(3, v); }
    QString ChargeIDStd5() const { return ChargeIDStd(4); }
    void ChargeIDStd5(const QString& v) { ChargeIDStd(4, v); }
    void StdLow_FNUNTU(const QString& v) { Std_FNUNTU(0, v); }
    void StdMid_FNUNTU(const QString& v) { Std_FNUNTU(1, v); }
    void StdHigh_FNUNTU(const QString& v) { Std_FNUNTU(2, v); }
    void Std4_FNUNTU(const QString& v) { Std_FNUNTU(3, v); }
    void Std5_FNUNTU(const QString& v) { Std_FNUNTU(4, v); }

    QLabel* imgHead = nullptr;
    QLabel* imgLogo = nullptr;
    QGroupBox* frmLOT = nullptr;
    QLabel* lblLOTTotal = nullptr;
    QLabel* lblExpiry = nullptr;
    QLabel* lblManufacturer = nullptr;
    QLabel* lblUsedStds = nullptr;
    QLabel* lblStdComment = nullptr;
    QLineEdit* txtLOTTotal = nullptr;
    QLineEdit* txtExpiry = nullptr;
    QLineEdit* txtManufacturer = nullptr;
    // Low, mid, high, 4th and 5th standard.
    std::array<QLabel*, kStandards> lblStd{};
    std::array<QLineEdit*, kStandards> txtStd{};
    QPushButton* cmdAccept = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void LayOut();
    void Form_Load();
    QLineEdit* NewTextBox(const char* name);
    void cmdAccept_Click();
    void cmdCancel_Click();

    Ui& m_ui;
    CIni& m_ini;
    bool m_dlgRetVal = false;
    short m_numCalPoints = 0;
};
