#pragma once

#include <QDialog>

class CIni;
class QLabel;
class QPushButton;
class Ui;

// The version as the About box writes it: major "." minor revision, e.g. 5, 0, 3 -> "5.03".
QString VersionText(int major, int minor, int revision);

// The About box: program name and version, disclaimer, web and mail addresses and
// pictures, all texts taken from Settings.ini.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    // The address opened when the settings name none (the distributor's site).
    static inline const QString kDefaultInternet = QStringLiteral("https://www.mervex.example");
    // The disclaimer when the settings name none, in the program's language.
    static QString DefaultDisclaimer();

    frmAbout(CIni& ini, Ui& ui, QWidget* parent = nullptr);

    QLabel* lblAppTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QLabel* lblInternet = nullptr;
    QLabel* lblInternetValue = nullptr;
    QLabel* lblMail = nullptr;
    QLabel* lblMailValue = nullptr;
    QLabel* imgHead = nullptr;
    QLabel* imgLogo = nullptr;
    QLabel* imgLab = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

    // Opens the web address of the settings (read again) in the browser.
    void lblInternetValue_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void LayOut();
    void Form_Load();
    void LoadPictures(const QString& manufacturer);
    void ShowAddress(QLabel* name, QLabel* value, const QString& caption, const QString& address);

    CIni& m_ini;
    Ui& m_ui;
};
