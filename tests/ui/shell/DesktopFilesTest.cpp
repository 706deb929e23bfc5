#include "UiFixture.h"
#include "app/RecentFiles.h"
#include "app/TextTables.h"
#include "ui/app/RecentMenu.h"
#include "ui/data/frmDocument.h"

#include <QAccessible>
#include <QDropEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const QString kRecords = QStringLiteral("\r\n1;01.02.20;10:00\r\n!\r\n>");

class DesktopFiles : public ::testing::Test {
protected:
    void SetUp() override { QSettings().remove(QStringLiteral("Settings/RecentFiles")); }

    // A dataset file of the folder, written by the program itself.
    QString Dataset(const QString& name) {
        MValSet set;
        set.strMVals = kRecords;
        set.strMeter = QStringLiteral("Zentravox");
        set.strUser = QStringLiteral("Lab");
        const QString path = dir.file(name);
        EXPECT_TRUE(f.main->services().measVal.SaveFile(set, path));
        return path;
    }
    QStringList Titles() const {
        QStringList titles;
        for (frmDocument* d : f.main->Documents()) {
            titles << d->windowTitle();
        }
        return titles;
    }
    void Drop(const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths) {
            urls << QUrl::fromLocalFile(path);
        }
        data.setUrls(urls);
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(f.main.get(), &enter);
        ASSERT_TRUE(enter.isAccepted()) << "files are welcome";
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(f.main.get(), &drop);
        QCoreApplication::processEvents(); // the opening waits for the drop to end
    }

    TempDir dir;
    MainWindowFixture f;
};

} // namespace

TEST_F(DesktopFiles, FilesGivenOpenEachInADocumentNamedAfterIt) {
    const QString a = Dataset(QStringLiteral("Mesures été.csv"));
    const QString b = Dataset(QStringLiteral("b.csv"));
    const QString missing = dir.file(QStringLiteral("gone.csv"));
    f.main->OpenFiles({a, missing, b});
    EXPECT_EQ(Titles(), QStringList({"Mesures été.csv[*]", "b.csv[*]"}));
    EXPECT_EQ(f.main->Documents()[0]->MVals().strMVals, kRecords);
    EXPECT_FALSE(f.main->Documents()[0]->isWindowModified());
    EXPECT_EQ(f.ui.MessageTexts(), QStringList({LoadResString(1761).arg(missing)}));
    EXPECT_EQ(RecentFiles::List(), QStringList({b, a}));
}

TEST_F(DesktopFiles, ADroppedFileReplacesTheDocumentAfterTheSaveQuestion) {
    frmDocument* unsaved = f.main->ActiveDocument();
    unsaved->MVals().strMVals = kRecords;
    unsaved->SetModified(true);
    const QString a = Dataset(QStringLiteral("a.csv"));
    f.ui.messageAnswers = {MsgResult::Cancel};
    Drop({a});
    EXPECT_EQ(f.ui.messages.size(), 1) << "the save question";
    EXPECT_EQ(f.main->Documents(), QList<frmDocument*>{unsaved}) << "kept: the drop is abandoned";

    f.ui.Clear();
    f.ui.messageAnswers = {MsgResult::No};
    Drop({a});
    EXPECT_EQ(Titles(), QStringList({"a.csv[*]"}));
}

TEST_F(DesktopFiles, RecentFilesAreOfferedAndAGoneOneIsReportedAndDropped) {
    const QString a = Dataset(QStringLiteral("a.csv"));
    const QString b = Dataset(QStringLiteral("b.csv"));
    f.main->OpenFiles({a});
    f.main->OpenFiles({b});
    QMenu* recent = f.main->ActiveDocument()->Menus().mnuFileRecent;
    FillRecentMenu(recent, *f.main);
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_EQ(recent->actions()[0]->text(), QStringLiteral("&1 b.csv"));
    EXPECT_EQ(recent->actions()[1]->text(), QStringLiteral("&2 a.csv"));

    recent->actions()[1]->trigger();
    EXPECT_EQ(Titles(), QStringList({"a.csv[*]"}));
    ASSERT_TRUE(QFile::remove(b));
    recent = f.main->ActiveDocument()->Menus().mnuFileRecent;
    FillRecentMenu(recent, *f.main);
    recent->actions()[1]->trigger();
    EXPECT_EQ(f.ui.MessageTexts(), QStringList({LoadResString(1761).arg(b)}));
    EXPECT_EQ(RecentFiles::List(), QStringList({a}));
    EXPECT_EQ(Titles(), QStringList({"a.csv[*]"})) << "the open document stays";
}

TEST_F(DesktopFiles, TheTitleMarksAnUnsavedDatasetAndASaveIsConfirmed) {
    frmDocument* d = f.main->ActiveDocument();
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Groupes de données[*]"));
    d->MVals().strMVals = kRecords;
    d->MVals().strMeter = QStringLiteral("Zentravox");
    d->MVals().strSerNo = QStringLiteral("Z-1");
    d->MVals().curDate = QDateTime(QDate(2026, 12, 7), QTime(8, 0));
    d->SetModified(true);
    EXPECT_TRUE(d->isWindowModified());
    EXPECT_TRUE(d->parentWidget()->isWindowModified()) << "the frame shows the mark";

    const QString path = dir.file(QStringLiteral("Mesures.csv"));
    f.ui.dialogAnswers = {path};
    d->MenuFileSave();
    EXPECT_EQ(f.ui.dialogs.at(0).request.fileName, QStringLiteral("Zentravox Z-1 2026-12-07"));
    EXPECT_FALSE(d->isWindowModified());
    EXPECT_EQ(d->windowTitle(), QStringLiteral("Mesures.csv[*]"));
    EXPECT_EQ(f.main->statusBar()->currentMessage(), LoadResString(1762).arg(path));

    // Export and Save As propose the document's own name.
    f.ui.Clear();
    d->MenuExport();
    d->MenuFileSaveAs();
    ASSERT_EQ(f.ui.dialogs.size(), 2);
    EXPECT_EQ(f.ui.dialogs[0].request.fileName, QStringLiteral("Mesures"));
    EXPECT_EQ(f.ui.dialogs[1].request.fileName, QStringLiteral("Mesures"));
}

TEST_F(DesktopFiles, HelpMenuShortcutsAndStatusTips) {
    const AppMenus& m = f.main->ActiveDocument()->Menus();
    const QList<QAction*> help = m.mnuHelp->actions();
    ASSERT_EQ(help.size(), 2);
    EXPECT_EQ(help[0], m.mnuHelpContents);
    EXPECT_EQ(m.mnuHelpContents->text(), QStringLiteral("Aide en &ligne"));
    EXPECT_EQ(m.mnuHelpContents->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_TRUE(m.mnuFileExit->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Q)));
    EXPECT_TRUE(m.mnuFileClose->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_W)));
    EXPECT_TRUE(
        m.mnuFileSaveAs->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
    // Every entry of every menu, the document's own included, says in the status bar what
    // it does, in the program's language (a string number left means no text was found).
    QList<QMenu*> menus = m.TopLevel();
    for (int i = 0; i < menus.size(); ++i) {
        for (QAction* item : menus[i]->actions()) {
            if (item->menu() != nullptr) {
                menus << item->menu();
            }
            if (item->isSeparator() || !item->isVisible() ||
                item->objectName().startsWith(QLatin1String("mnuWindowList")) ||
                item->parent() == m.mnuFileRecent) {
                continue;
            }
            bool number = false;
            item->statusTip().toInt(&number);
            EXPECT_FALSE(item->statusTip().isEmpty() || number)
                << item->objectName().toStdString() << " " << item->text().toStdString();
        }
    }
}

TEST_F(DesktopFiles, ToolBarAndDocumentControlsHaveTranslatedAccessibleNames) {
    // The buttons say what their tips say, in the program's language, not the internal keys.
    QStringList names;
    QStringList tips;
    for (QAction* action : f.main->tbToolBar->actions()) {
        QWidget* button = f.main->tbToolBar->widgetForAction(action);
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(button);
        ASSERT_NE(a, nullptr);
        names << a->text(QAccessible::Name);
        tips << action->toolTip().trimmed();
    }
    EXPECT_EQ(names, tips);
    EXPECT_EQ(names.value(0), QStringLiteral("Nouveau"));
    EXPECT_EQ(names.value(4), QStringLiteral("Importer les groupes de données"));
    QAccessibleInterface* grid =
        QAccessible::queryAccessibleInterface(f.main->ActiveDocument()->hfgMVals);
    EXPECT_EQ(grid->text(QAccessible::Name), QStringLiteral("Groupes de données"));
}
