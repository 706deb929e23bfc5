#include "ProgramWindowFixture.h"
#include "UiFixture.h"
#include "app/TextTables.h"
#include "ui/dialogs/frmChangeDir.h"
#include "ui/programs/frmProgConsole.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QTreeView>

TEST_F(ProgramWindowTest, ChooserStartsAtTheWorkDirectoryOrTheRoot) {
    Offline();
    {
        frmChangeDir chooser(services->usrDefProg, services->ui);
        EXPECT_EQ(chooser.windowTitle(), LoadResString(1171));
        EXPECT_EQ(chooser.SelectedDirectory(), work.path());
        EXPECT_EQ(chooser.drv->itemText(0), "/");
    }
    services->usrDefProg.WorkDir(work.file("gone"));
    frmChangeDir chooser(services->usrDefProg, services->ui);
    EXPECT_EQ(chooser.SelectedDirectory(), "/");
    EXPECT_EQ(chooser.drv->currentText(), "/");
}

TEST_F(ProgramWindowTest, ChooserShowsTheWorkDirectoryAmongManyOthers) {
    Offline();
    for (int i = 0; i < 120; ++i) {
        QDir(work.path()).mkdir(QStringLiteral("d%1").arg(i, 3, 10, QLatin1Char('0')));
    }
    services->usrDefProg.WorkDir(work.file("d100"));
    frmChangeDir chooser(services->usrDefProg, services->ui);
    chooser.show();
    // The tree fills in the background; the selection must still be in view afterwards.
    const auto* model = qobject_cast<const QFileSystemModel*>(chooser.dir->model());
    ASSERT_NE(model, nullptr);
    const QModelIndex parent = model->index(work.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(parent) == 120; }, 10000));
    // The model sorts the rows it read a little later; until then d100 may stand anywhere,
    // also near the top, where scrolling away from it proves nothing.
    const auto sorted = [&] {
        for (int i = 1; i < 120; ++i) {
            const auto row = [&](int n) {
                return model
                    ->index(work.file(QStringLiteral("d%1").arg(n, 3, 10, QLatin1Char('0'))))
                    .row();
            };
            if (row(i - 1) >= row(i)) {
                return false;
            }
        }
        return true;
    };
    ASSERT_TRUE(QTest::qWaitFor(sorted, 10000));
    const auto shown = [&] {
        return chooser.dir->viewport()->rect().contains(
            chooser.dir->visualRect(chooser.dir->currentIndex()));
    };
    // Sorting and laying out the rows follows the reading: give it a moment, not forever.
    EXPECT_TRUE(QTest::qWaitFor(shown, 3000))
        << chooser.dir->visualRect(chooser.dir->currentIndex()).y() << " of "
        << chooser.dir->viewport()->height();
    EXPECT_EQ(chooser.SelectedDirectory(), work.file("d100"));

    // Once the user scrolls, folders read later no longer pull the view back.
    chooser.dir->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMinimum);
    ASSERT_FALSE(shown());
    QDir(work.path()).mkdir(QStringLiteral("a-new-one"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->rowCount(parent) == 121; }, 10000));
    QTest::qWait(100);
    EXPECT_FALSE(shown());
}

TEST_F(ProgramWindowTest, ChooserGivesTheChosenDirectoryOrNothing) {
    Offline();
    QDir(work.path()).mkdir("sub");
    frmChangeDir cancelled(services->usrDefProg, services->ui);
    dialogs.Expect<frmChangeDir>([&](frmChangeDir& chooser) {
        chooser.SetDirectory(work.file("sub"));
        chooser.cmdCancel->click();
    });
    EXPECT_EQ(cancelled.Path(), "");

    frmChangeDir chosen(services->usrDefProg, services->ui);
    dialogs.Expect<frmChangeDir>([&](frmChangeDir& chooser) {
        chooser.SetDirectory(work.file("sub"));
        chooser.cmdOK->click();
    });
    EXPECT_EQ(chosen.Path(), work.file("sub"));
    EXPECT_EQ(services->usrDefProg.WorkDir(), work.path()); // the caller stores it
}

// After "Nouveau" the keyboard is on the new folder: Enter chooses it.
TEST_F(ProgramWindowTest, EnterAfterANewDirectoryChoosesIt) {
    Offline();
    ui.inputAnswers = {QStringLiteral("Fresh")};
    QWidget* focused = nullptr;
    dialogs.Expect<frmChangeDir>([&](frmChangeDir& shown) {
        shown.cmdNewDir->setFocus();
        shown.cmdNewDir->click();
        focused = shown.focusWidget();
        QTest::keyClick(focused, Qt::Key_Return);
        if (shown.isVisible()) {
            shown.cmdCancel->click(); // Enter did not close it
        }
    });
    frmChangeDir chooser(services->usrDefProg, services->ui);
    EXPECT_EQ(chooser.Path(), work.file("Fresh"));
    EXPECT_EQ(focused, chooser.dir);
    EXPECT_EQ(ui.inputPrompts.size(), 1) << "no second folder asked for";
}

TEST_F(ProgramWindowTest, ChooserMakesANewDirectory) {
    Offline();
    frmChangeDir chooser(services->usrDefProg, services->ui);
    ui.inputAnswers = {QStringLiteral("Progs")};
    chooser.cmdNewDir->click();
    ASSERT_EQ(ui.inputPrompts.size(), 1);
    EXPECT_EQ(ui.inputPrompts[0], LoadResString(1174) + "\r\n" + work.path());
    EXPECT_TRUE(QFileInfo(work.file("Progs")).isDir());
    EXPECT_EQ(chooser.SelectedDirectory(), work.file("Progs"));

    // Cancelled or empty: nothing happens.
    ui.inputAnswers = {std::nullopt, QString()};
    chooser.cmdNewDir->click();
    chooser.cmdNewDir->click();
    EXPECT_EQ(QDir(work.file("Progs")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 0);

    // An existing name or one with a separator is an error; the selection stays.
    chooser.SetDirectory(work.path());
    ui.inputAnswers = {QStringLiteral("Progs"), QStringLiteral("a/b")};
    chooser.cmdNewDir->click();
    chooser.cmdNewDir->click();
    ASSERT_EQ(ui.messages.size(), 2);
    for (const ScriptedUi::MessageCall& message : ui.messages) {
        EXPECT_EQ(message.title, LoadResString(1033));
        EXPECT_EQ(message.icon, MsgIcon::Critical);
    }
    EXPECT_FALSE(QFileInfo::exists(work.file("a")));
    EXPECT_EQ(chooser.SelectedDirectory(), work.path());
}

TEST(MainWindowPrograms, MenuItemAndButtonOpenTheConsole) {
    MainWindowFixture f;
    ASSERT_TRUE(f.LogIn(QStringLiteral("Lab")));
    DialogDriver dialogs;
    QString title;
    dialogs.Expect<frmProgConsole>([&](frmProgConsole& console) {
        title = console.windowTitle();
        console.cmdCancel->click();
    });
    f.ShownItem("mnuProgsUserDef")->trigger();
    EXPECT_EQ(title, LoadResString(1102));

    dialogs.Expect<frmProgConsole>([&](frmProgConsole& console) { console.reject(); });
    f.main->ToolButton(QStringLiteral("UsrProgs"))->trigger();
    EXPECT_EQ(dialogs.Handled(), 2);
}
