#pragma once

#include <QDialog>

class CLogin;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The login at start-up: a free user name and the choice between searching for the meter
// and working offline. OK confirms the login; Cancel or the close box end the program.
class frmLogin : public QDialog {
    Q_OBJECT
public:
    explicit frmLogin(CLogin& login, QWidget* parent = nullptr);

    QGroupBox* fraMode = nullptr;
    QRadioButton* optSearchDevice = nullptr;
    QRadioButton* optWorkOffline = nullptr;
    QLabel* lblUserName = nullptr;
    QLineEdit* txtUserName = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    void LayOut();
    void cmdOK_Click();
    // ";" separates the fields of a dataset file: a typed one becomes ".".
    void txtUserName_Change(const QString& text);

    CLogin& m_login;
};

// Shows the login dialog modally over the main window.
void ShowLoginDialog(CLogin& login, QWidget* owner);
