#include "meter/CLogin.h"
#include "ui/meter/frmLogin.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>
#include <gtest/gtest.h>

TEST(CLogin, UserNameRules) {
    CLogin login;
    EXPECT_FALSE(login.Successful());
    EXPECT_TRUE(login.SearchDevice());
    login.UserName(QString());
    EXPECT_EQ(login.UserName(), QStringLiteral("---"));
    login.UserName(QStringLiteral("Dr;Martin;Lefebvre-Dubois"));
    EXPECT_EQ(login.UserName(), QStringLiteral("Dr.Martin.Lefeb"));
    EXPECT_EQ(login.UserName().size(), CLogin::UserNameMaxLen);
}

TEST(LoginDialog, CaptionsAndStartState) {
    QSettings().remove(QStringLiteral("Settings/LastUser")); // the first login ever
    CLogin login;
    frmLogin dialog(login);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Login"));
    EXPECT_EQ(dialog.optSearchDevice->text(), QStringLiteral("Recherche appareil de mesure"));
    EXPECT_EQ(dialog.optWorkOffline->text(), QStringLiteral("Travailler hors ligne"));
    EXPECT_EQ(dialog.lblUserName->text(), QStringLiteral("Utilisateur:"));
    EXPECT_EQ(dialog.cmdCancel->text(), QStringLiteral("Annuler"));
    EXPECT_TRUE(dialog.optSearchDevice->isChecked());
    EXPECT_EQ(dialog.optSearchDevice->parentWidget(), dialog.optWorkOffline->parentWidget());
    EXPECT_TRUE(dialog.txtUserName->text().isEmpty());
}

// Tab goes from the name to the way to start (the checked choice only) and then to OK.
TEST(LoginDialog, TabGoesFromTheNameToTheModeToOK) {
    CLogin login;
    frmLogin dialog(login);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.txtUserName->setFocus();
    const auto tab = [&] {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        return QApplication::focusWidget();
    };
    ASSERT_EQ(QApplication::focusWidget(), dialog.txtUserName);
    EXPECT_EQ(tab(), dialog.optSearchDevice);
    EXPECT_EQ(tab(), dialog.cmdOK);
    EXPECT_EQ(tab(), dialog.cmdCancel);
}

TEST(LoginDialog, TypedSemicolonsBecomeFullStopsAndTheNameStopsAtFifteen) {
    CLogin login;
    frmLogin dialog(login);
    dialog.show();
    QTest::keyClicks(dialog.txtUserName, QStringLiteral("lab;1;abcdefghijklmnop"));
    EXPECT_EQ(dialog.txtUserName->text(), QStringLiteral("lab.1.abcdefghi"));
    QTest::keyClick(dialog.txtUserName, Qt::Key_Home);
    QTest::keyClicks(dialog.txtUserName, QStringLiteral(";"));
    EXPECT_EQ(dialog.txtUserName->text(), QStringLiteral("lab.1.abcdefghi")); // full
    dialog.optWorkOffline->setChecked(true);
    dialog.cmdOK->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(login.Successful());
    EXPECT_FALSE(login.SearchDevice());
    EXPECT_EQ(login.UserName(), QStringLiteral("lab.1.abcdefghi"));
}

TEST(LoginDialog, OkWithAnEmptyNameSearchesAsGuest) {
    CLogin login;
    frmLogin dialog(login);
    dialog.cmdOK->click();
    EXPECT_TRUE(login.Successful());
    EXPECT_TRUE(login.SearchDevice());
    EXPECT_EQ(login.UserName(), QStringLiteral("---"));
}

TEST(LoginDialog, CancelAndTheCloseBoxLeaveTheLoginUnconfirmed) {
    CLogin login;
    {
        frmLogin dialog(login);
        dialog.txtUserName->setText(QStringLiteral("x"));
        dialog.cmdCancel->click();
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
    {
        frmLogin dialog(login);
        dialog.show();
        dialog.close();
    }
    EXPECT_FALSE(login.Successful());
    EXPECT_TRUE(login.UserName().isEmpty());
}

TEST(LoginDialog, ProposesTheLastUserSelectedSoThatTypingReplacesIt) {
    {
        CLogin login;
        frmLogin dialog(login);
        dialog.txtUserName->setText(QStringLiteral("Bruno"));
        dialog.cmdOK->click();
    }
    CLogin login;
    frmLogin dialog(login);
    dialog.show();
    EXPECT_EQ(dialog.txtUserName->text(), QStringLiteral("Bruno"));
    EXPECT_EQ(dialog.txtUserName->selectedText(), QStringLiteral("Bruno"));
    EXPECT_EQ(dialog.lblUserName->buddy(), dialog.txtUserName);
    QTest::keyClicks(dialog.txtUserName, QStringLiteral("Ann"));
    dialog.cmdOK->click();
    EXPECT_EQ(login.UserName(), QStringLiteral("Ann"));
    CLogin next;
    EXPECT_EQ(frmLogin(next).txtUserName->text(), QStringLiteral("Ann"));
}
