#include "ui/meter/frmLogin.h"

#include "meter/CLogin.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/Controls.h"
#include "ui/app/Pictures.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>

namespace {

const QString kLastUserKey = QStringLiteral("Settings/LastUser");

} // namespace

frmLogin::frmLogin(CLogin& login, QWidget* parent) : QDialog(parent), m_login(login) {
    setObjectName(QStringLiteral("frmLogin"));
    setProperty("Tag", QStringLiteral("1107"));
    fraMode = NewControl<QGroupBox>(this, "fraMode");
    optSearchDevice = NewControl<QRadioButton>(fraMode, "optSearchDevice", "1108");
    optWorkOffline = NewControl<QRadioButton>(fraMode, "optWorkOffline", "1109");
    lblUserName = NewControl<QLabel>(this, "lblUserName", "1176");
    txtUserName = NewControl<QLineEdit>(this, "txtUserName");
    txtUserName->setMaxLength(CLogin::UserNameMaxLen);
    cmdOK = NewControl<QPushButton>(this, "cmdOK", "1026");
    cmdCancel = NewControl<QPushButton>(this, "cmdCancel", "1069");
    LayOut();

    optSearchDevice->setChecked(true);
    cmdOK->setDefault(true);
    // The same technician logs in day after day: the last name is proposed, selected, so
    // that typing another replaces it.
    txtUserName->setText(QSettings().value(kLastUserKey).toString());
    txtUserName->selectAll();
    lblUserName->setBuddy(txtUserName);
    // The name, then how to start, then the buttons: the order in which one decides.
    setTabOrder(txtUserName, optSearchDevice);
    setTabOrder(optSearchDevice, optWorkOffline);
    setTabOrder(optWorkOffline, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    txtUserName->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, &frmLogin::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(txtUserName, &QLineEdit::textEdited, this, &frmLogin::txtUserName_Change);

    setWindowIcon(ProgramIcon());
    ApplyCaptions(this);
}

void frmLogin::LayOut() {
    auto* modes = new QVBoxLayout(fraMode);
    modes->addWidget(optSearchDevice);
    modes->addWidget(optWorkOffline);
    auto* name = new QHBoxLayout;
    name->addWidget(lblUserName);
    name->addWidget(txtUserName, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraMode);
    layout->addLayout(name);
    layout->addLayout(buttons);
}

void frmLogin::cmdOK_Click() {
    m_login.Successful(true);
    if (optWorkOffline->isChecked()) {
        m_login.SearchDevice(false);
    }
    m_login.UserName(txtUserName->text());
    QSettings().setValue(kLastUserKey, txtUserName->text());
    accept();
}

void frmLogin::txtUserName_Change(const QString& text) {
    if (!text.contains(QLatin1Char(';'))) {
        return;
    }
    const int cursor = txtUserName->cursorPosition();
    QString replaced = text;
    replaced.replace(QLatin1Char(';'), QLatin1Char('.'));
    txtUserName->setText(replaced);
    txtUserName->setCursorPosition(cursor);
}

void ShowLoginDialog(CLogin& login, QWidget* owner) {
    frmLogin dialog(login, owner);
    dialog.exec();
}
