#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

// A yes/no question answered with two option buttons and OK. Everything but OK with
// "Oui" selected answers no.
class frmConfirm : public QDialog {
    Q_OBJECT
public:
    explicit frmConfirm(QWidget* parent = nullptr);

    bool SetText(const QString& strText);
    // Shows the dialog modally and gives the answer once it is hidden.
    bool Result();

    QLabel* lblText = nullptr;
    QGroupBox* fraSelection = nullptr;
    QRadioButton* optYes = nullptr;
    QRadioButton* optNo = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool m_answer = false;
};
