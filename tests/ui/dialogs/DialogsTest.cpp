#include "UiFixture.h"
#include "ui/app/frmWait.h"
#include "ui/dialogs/frmAbout.h"
#include "ui/dialogs/frmConfirm.h"
#include "ui/dialogs/frmReason.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

struct ServicesFixture {
    ServicesFixture() {
        auto scripted = std::make_unique<ScriptedMeterLink>();
        link = scripted.get();
        services = std::make_unique<Services>(ui, std::move(scripted));
    }
    TaskServices Tasks() const {
        return {services->ui, services->busy, services->link(), services->usrDefProg};
    }
    ScriptedUi ui;
    ScriptedMeterLink* link = nullptr;
    std::unique_ptr<Services> services;
};

// Runs the action as soon as the dialog's modal loop has started.
void WhenShown(QDialog& dialog, std::function<void()> action) {
    QTimer::singleShot(0, &dialog, std::move(action));
}

// Receives the addresses the About box opens instead of a browser.
class UrlCatcher : public QObject {
    Q_OBJECT
public:
    UrlCatcher() {
        QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "Open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "Open");
    }
    ~UrlCatcher() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    }
    QList<QUrl> opened;
public slots:
    void Open(const QUrl& url) { opened << url; }
};

void Click(QWidget* widget) {
    const QPointF at(2, 2);
    QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

} // namespace

TEST(WaitDialog, EveryWayOfClosingStopsTheMeterWaitOnce) {
    ServicesFixture f;
    {
        frmWait wait(f.Tasks());
        wait.show();
        EXPECT_EQ(wait.windowTitle(), QStringLiteral("Information"));
        EXPECT_EQ(wait.lblPleaseWait->text(), QStringLiteral("Attendre, svp..."));
        EXPECT_EQ(wait.cmdCancel->text(), QStringLiteral("Annuler"));
        EXPECT_FALSE(wait.isModal());
        EXPECT_TRUE(wait.SetText(QStringLiteral("Recherche appareil de mesure...")));
        EXPECT_EQ(wait.lblText->text(), QStringLiteral("Recherche appareil de mesure..."));
        wait.cmdCancel->click();
        EXPECT_FALSE(wait.isVisible());
        EXPECT_EQ(f.link->calls, QStringList{QStringLiteral("COMStop")});
        EXPECT_FALSE(wait.SetText(QStringLiteral("too late")));
    }
    EXPECT_EQ(f.link->calls.size(), 1);
    {
        frmWait wait(f.Tasks());
        wait.show();
        wait.close(); // the caller, after a finished exchange
    }
    EXPECT_EQ(f.link->calls.size(), 2);
    {
        frmWait wait(f.Tasks()); // never shown: unloading still stops
    }
    EXPECT_EQ(f.link->calls, QStringList(3, QStringLiteral("COMStop")));
}

TEST(ConfirmDialog, OkWithoutChoosingAnswersNo) {
    frmConfirm confirm;
    confirm.SetText(QStringLiteral("Vraiment?"));
    EXPECT_EQ(confirm.windowTitle(), QStringLiteral("Question"));
    EXPECT_EQ(confirm.optYes->text(), QStringLiteral("Oui"));
    EXPECT_EQ(confirm.optNo->text(), QStringLiteral("Non"));
    EXPECT_TRUE(confirm.fraSelection->title().isEmpty());
    EXPECT_TRUE(confirm.optNo->isChecked());
    WhenShown(confirm, [&] {
        EXPECT_EQ(confirm.focusWidget(), confirm.cmdCancel);
        EXPECT_EQ(confirm.cmdCancel->nextInFocusChain(), confirm.cmdOK);
        confirm.cmdOK->click();
    });
    EXPECT_FALSE(confirm.Result());
}

TEST(ConfirmDialog, YesAndOkAnswersYesEverythingElseNo) {
    frmConfirm confirm;
    WhenShown(confirm, [&] {
        confirm.optYes->setChecked(true);
        confirm.cmdOK->click();
    });
    EXPECT_TRUE(confirm.Result());
    WhenShown(confirm, [&] {
        confirm.optYes->setChecked(true);
        confirm.cmdCancel->click();
    });
    EXPECT_FALSE(confirm.Result());
    WhenShown(confirm, [&] {
        confirm.optYes->setChecked(true);
        confirm.close(); // the close box
    });
    EXPECT_FALSE(confirm.Result());
}

// A reason is required: blanks leave OK disabled, so Enter does nothing; typed, Enter gives
// it trimmed, Tab reaches OK, and Escape gives nothing. A comment may stay empty.
TEST(ReasonDialog, ARequiredReasonCannotBeBlankAndTheKeysWork) {
    frmReason reason(1855, true);
    EXPECT_EQ(reason.windowTitle(), QStringLiteral("Invalider"));
    EXPECT_EQ(reason.lblReason->text(), QStringLiteral("Motif"));
    WhenShown(reason, [&] {
        EXPECT_EQ(reason.focusWidget(), reason.txtReason);
        QTest::keyClicks(reason.txtReason, QStringLiteral("   "));
        EXPECT_FALSE(reason.cmdOK->isEnabled());
        QTest::keyClick(reason.txtReason, Qt::Key_Return);
        EXPECT_TRUE(reason.isVisible());
        QTest::keyClicks(reason.txtReason, QStringLiteral("blanc faux "));
        EXPECT_TRUE(reason.cmdOK->isEnabled());
        EXPECT_EQ(reason.txtReason->nextInFocusChain(), reason.cmdOK);
        QTest::keyClick(reason.txtReason, Qt::Key_Return);
    });
    EXPECT_EQ(reason.Ask(), std::optional<QString>(QStringLiteral("blanc faux")));
    WhenShown(reason, [&] { QTest::keyClick(reason.txtReason, Qt::Key_Escape); });
    EXPECT_EQ(reason.Ask(), std::nullopt);

    frmReason comment(1857, false);
    EXPECT_EQ(comment.lblReason->text(), QStringLiteral("Commentaire"));
    WhenShown(comment, [&] {
        EXPECT_TRUE(comment.cmdOK->isEnabled());
        QTest::keyClick(comment.txtReason, Qt::Key_Return);
    });
    EXPECT_EQ(comment.Ask(), std::optional<QString>(QString()));
}

TEST(AboutBox, WithoutAboutSectionShowsMervexAndNoAddresses) {
    ProgramFolder folder("[General]\r\nManufacturer=0\r\n");
    ServicesFixture f;
    frmAbout about(f.services->ini, f.services->ui);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Info Mervex"));
    EXPECT_EQ(about.lblAppTitle->text(), QStringLiteral("Mervex"));
    EXPECT_EQ(about.lblDisclaimer->text(), frmAbout::DefaultDisclaimer());
    for (QLabel* hidden :
         {about.lblInternet, about.lblInternetValue, about.lblMail, about.lblMailValue}) {
        EXPECT_TRUE(hidden->text().isEmpty()) << hidden->objectName().toStdString();
    }
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+$"))
                    .match(about.lblVersion->text())
                    .hasMatch())
        << about.lblVersion->text().toStdString();
    EXPECT_FALSE(about.imgLogo->pixmap().isNull());
    EXPECT_FALSE(about.imgLab->pixmap().isNull());
    EXPECT_TRUE(about.cmdSysInfo->isHidden());
    EXPECT_EQ(about.cmdOK->text(), QStringLiteral("OK"));
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

TEST(AboutBox, TheWebAddressOpensWhenClicked) {
    ProgramFolder folder("[About]\r\nAppName=Labo\r\nInternet=www.labo.example\r\n"
                         "Mail=\r\nDisclaimer=Use at will.\r\n");
    ServicesFixture f;
    UrlCatcher catcher;
    frmAbout about(f.services->ini, f.services->ui);
    EXPECT_EQ(about.windowTitle(), QStringLiteral("Info Labo"));
    EXPECT_EQ(about.lblDisclaimer->text(), QStringLiteral("Use at will."));
    EXPECT_EQ(about.lblInternet->text(), QStringLiteral("Internet:"));
    EXPECT_EQ(about.lblInternetValue->text(), QStringLiteral("www.labo.example"));
    EXPECT_TRUE(about.lblMail->text().isEmpty());
    EXPECT_EQ(about.lblInternetValue->cursor().shape(), Qt::BitmapCursor);
    Click(about.lblInternetValue);
    ASSERT_EQ(catcher.opened.size(), 1);
    EXPECT_EQ(catcher.opened[0].host(), QStringLiteral("www.labo.example"));
}

TEST(AboutBox, VersionRuleWritesMinorAndRevisionTogether) {
    EXPECT_EQ(VersionText(5, 0, 3), QStringLiteral("5.03"));
    EXPECT_EQ(VersionText(5, 1, 12), QStringLiteral("5.112"));
}

#include "DialogsTest.moc"
