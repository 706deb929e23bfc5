#include "DocumentEmulator.h"

#include <QMenu>
#include <QRegularExpression>
#include <QTest>
#include <QToolBar>

namespace {

// The commands of the document's menus that could start another operation.
QList<QAction*> StartingCommands(const AppMenus& m) {
    return {m.mnuFileNew,    m.mnuFileOpen,  m.mnuFileClose,   m.mnuFileSave,
            m.mnuFileSaveAs, m.mnuImport,    m.mnuExport,      m.mnuDeviceSearch,
            m.mnuChangeUser, m.mnuCalProtPH, m.mnuCalProtTurb, m.mnuPrograms->menuAction(),
            m.mnuHelpAbout};
}

// What the meter received since the search recognised it.
QStringList AfterRecognition(const QStringList& log) {
    return log.mid(log.lastIndexOf(QStringLiteral("U.592")) + 1);
}

} // namespace

TEST_F(DocumentOverTheEmulator, DuringAnImportOtherCommandsAreDisabledIgnoredAndComeBackAfter) {
    ASSERT_TRUE(recognised) << sim->errors().toStdString();
    const AppMenus& menus = Doc().Menus();
    const auto enabledNow = [&] {
        QStringList enabled;
        for (QAction* command : StartingCommands(menus)) {
            if (command->isEnabled()) {
                enabled << command->objectName();
            }
        }
        return enabled;
    };
    const QStringList enabledBefore = enabledNow();
    ASSERT_TRUE(enabledBefore.contains(QStringLiteral("mnuImport")));
    QStringList enabledDuring;
    bool exitEnabled = false;
    bool toolBarEnabled = true;
    bool ignored = false;
    DuringTransfer([&] {
        enabledDuring = enabledNow();
        exitEnabled = menus.mnuFileExit->isEnabled();
        toolBarEnabled = main->tbToolBar->isEnabled();
        const qsizetype received = sim->log().size();
        // Commands that still arrive: a shortcut, a second click, a tool bar button.
        main->MenuFileNew();
        main->MenuFileOpen();
        main->MenuDeviceSearch();
        main->MenuCalProtPH();
        main->MenuProgsUserDef();
        main->ToolbarButtonClick(QStringLiteral("Export"));
        main->ToolbarButtonClick(QStringLiteral("Import"));
        Doc().MenuExport();
        Doc().MenuFileSaveAs();
        Doc().MenuFilePrint();
        ignored = sim->log().size() == received && ui.dialogs.isEmpty() && main->NumDocs() == 1;
    });
    Doc().MenuImport();

    EXPECT_TRUE(enabledDuring.isEmpty()) << enabledDuring.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(exitEnabled);
    EXPECT_FALSE(toolBarEnabled);
    EXPECT_TRUE(ignored);
    // The import itself went through as if alone: one conversation, every record.
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(AfterRecognition(sim->log()), (QStringList{"U.400", "U.581"}));
    EXPECT_EQ(Grid().rowCount(), kRecords);
    EXPECT_TRUE(main->tbToolBar->isEnabled());
    EXPECT_EQ(enabledNow(), enabledBefore);
}

TEST_F(DocumentOverTheEmulator, QuittingDuringAnImportAbortsItAndClosesWhenItHasReturned) {
    ASSERT_TRUE(recognised) << sim->errors().toStdString();
    bool closedAtOnce = true;
    DuringTransfer([&] { closedAtOnce = main->close(); });
    Doc().MenuImport();
    EXPECT_FALSE(closedAtOnce);
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('\n').toStdString();
    // The stopped command is not repeated; only the abort follows it.
    EXPECT_EQ(AfterRecognition(sim->log()), (QStringList{"U.400", "U.581", "U.999"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return main->IsUnloaded(); }, 5000));
    EXPECT_TRUE(ui.messages.isEmpty()); // nor any window on the way out
}

TEST_F(DocumentOverTheEmulator, TheWaitDialogCountsTheRecordsAsTheyArrive) {
    ASSERT_TRUE(recognised) << sim->errors().toStdString();
    QStringList shown;
    ui.onYield = [&] {
        if (frmWait* wait = WaitDialog();
            wait && wait->lblProgress->isVisible() &&
            (shown.isEmpty() || shown.back() != wait->lblProgress->text())) {
            shown << wait->lblProgress->text();
        }
    };
    Doc().MenuImport();
    ASSERT_EQ(Grid().rowCount(), kRecords);
    // 60 records at 19200 baud take about 2.6 s: several updates, counting up.
    ASSERT_GE(shown.size(), 3) << shown.join(QLatin1Char('|')).toStdString();
    const QRegularExpression form(QStringLiteral("^(\\d+) enregistrements reçus en 0:0\\d$"));
    int previous = -1;
    for (const QString& text : shown) {
        const QRegularExpressionMatch match = form.match(text);
        ASSERT_TRUE(match.hasMatch()) << text.toStdString();
        const int records = match.captured(1).toInt();
        EXPECT_GE(records, previous);
        EXPECT_LE(records, kRecords);
        previous = records;
    }
    EXPECT_GT(previous, 0);
}
