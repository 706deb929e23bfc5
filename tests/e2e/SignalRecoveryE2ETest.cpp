// A termination signal while a document holds an unsaved import: the program ends within
// 5 s without a question, the import stays as a recovery copy, and the next start offers it.
#include "DocumentEmulator.h"
#include "archive/ArchiveDatabase.h"
#include "data/RecoveryStore.h"
#include "support/ScriptedMeterLink.h"
#include "ui/shell/QuitRequests.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QTest>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <thread>
#include <unistd.h>

namespace {

constexpr qint64 kEndWithinMs = 5000;
constexpr char kSharedVar[] = "MERVEX_TEST_SHARED_DATA";

void RemoveCopies() {
    for (const QString& path : RecoveryStore().List()) {
        RecoveryStore::Remove(path);
    }
}

// The program started again: its main window, offline.
std::unique_ptr<frmMain> NextStart(ScriptedUi& ui) {
    auto next = std::make_unique<frmMain>(ui, [](Ui&) -> std::unique_ptr<MeterLink> {
        return std::make_unique<ScriptedMeterLink>();
    });
    next->show();
    return next;
}

} // namespace

TEST_F(DocumentOverTheEmulator, ASignalEndsWithoutAQuestionAndTheNextStartOffersTheImport) {
    ASSERT_TRUE(recognised) << sim->errors().toStdString();
    RemoveCopies();
    const QuitRequests quitRequests(*main, [this] { main->EndBySignal(); });
    Doc().MenuImport();
    ASSERT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('\n').toStdString();
    const MValSet imported = Doc().MVals();
    const QString saved = dir.file(QStringLiteral("saved.csv"));
    ASSERT_TRUE(main->services().measVal.SaveFile(imported, saved));
    // The copy is there as soon as the import has ended: a crash would not lose it either.
    ASSERT_EQ(RecoveryStore().List(), QStringList{Doc().RecoveryPath()});

    QElapsedTimer clock;
    clock.start();
    std::raise(SIGTERM);
    EXPECT_TRUE(QTest::qWaitFor([&] { return main->IsUnloaded(); }, kEndWithinMs));
    EXPECT_LT(clock.elapsed(), kEndWithinMs);
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join('\n').toStdString();
    const QStringList copies = RecoveryStore().List();
    ASSERT_EQ(copies.size(), 1);
    EXPECT_EQ(QFileInfo(copies[0]).fileName(), imported.curDate.toString(QStringLiteral(
                                                   "'Zentravox ZV-5 'yyyy-MM-dd HH-mm-ss'.csv'")));
    EXPECT_EQ(ReadBytes(copies[0]), ReadBytes(saved));

    // The next start offers it; opened, it is the unsaved import it was.
    ScriptedUi nextUi;
    std::unique_ptr<frmMain> next = NextStart(nextUi);
    nextUi.messageAnswers = {MsgResult::Yes};
    next->OfferRecovery();
    ASSERT_EQ(nextUi.messages.size(), 1);
    EXPECT_TRUE(nextUi.messages[0].text.endsWith(
        QStringLiteral("Récupérer les données non enregistrées?")));
    frmDocument* recovered = next->ActiveDocument();
    ASSERT_NE(recovered, nullptr);
    EXPECT_EQ(next->NumDocs(), 1);
    EXPECT_EQ(recovered->MVals().strMVals, imported.strMVals);
    EXPECT_EQ(recovered->lblSerNoValue->text(), QStringLiteral("ZV-5"));
    EXPECT_TRUE(recovered->FilePath().isEmpty());
    EXPECT_TRUE(recovered->isWindowModified());
    // The title says so too, as after an import.
    EXPECT_TRUE(next->isWindowModified());
    EXPECT_EQ(RecoveryStore().List(), copies);
    // Closed without saving by the user's choice, the copy goes.
    nextUi.messageAnswers = {MsgResult::No};
    EXPECT_TRUE(next->close());
    EXPECT_TRUE(RecoveryStore().List().isEmpty());

    // "Non" at the offer discards the copies.
    WriteBytes(copies[0], ReadBytes(saved));
    ScriptedUi thirdUi;
    std::unique_ptr<frmMain> third = NextStart(thirdUi);
    thirdUi.messageAnswers = {MsgResult::No};
    third->OfferRecovery();
    EXPECT_TRUE(RecoveryStore().List().isEmpty());
    EXPECT_EQ(third->ActiveDocument()->MVals().strMVals, QString());
}

// Another program holds the archive's write lock longer than the archive waits for it (15 s),
// so the archiving after the import waits on the database: a signal still ends the program
// within 5 s (the window stops waiting and closes as it does for any signal; the archiving's
// thread is left to the database), and the import is kept as its recovery copy.
TEST_F(DocumentOverTheEmulator, ASignalWhileTheArchiveWaitsOnItsDatabaseEndsTheProgramInTime) {
    ASSERT_TRUE(recognised) << sim->errors().toStdString();
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The program runs in a child that runs this test again from its start: it finds the
    // folder the test reads afterwards in its environment.
    std::optional<TempDir> shared;
    if (qEnvironmentVariableIsEmpty(kSharedVar)) {
        shared.emplace();
        qputenv(kSharedVar, shared->path().toLocal8Bit());
    }
    const QString folder = qEnvironmentVariable(kSharedVar);
    const QString sentAt = folder + QStringLiteral("/signal-sent");
    const QString simPid = folder + QStringLiteral("/emulator-pid");
    EXPECT_EXIT(
        {
            qputenv("XDG_DATA_HOME", folder.toLocal8Bit());
            WriteBytes(simPid, QByteArray::number(sim->pid())); // it outlives the child
            ArchiveDatabase holder;
            if (!holder.Open(ArchiveTarget::DefaultFile())) {
                std::_Exit(2);
            }
            holder.Exec(QStringLiteral("BEGIN IMMEDIATE"));
            const QuitRequests quitRequests(*main, [this] { main->EndBySignal(); });
            std::thread([sentAt] {
                QElapsedTimer waited;
                waited.start();
                while (RecoveryStore().List().isEmpty() && waited.elapsed() < 30000) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                }
                WriteBytes(sentAt, QByteArray::number(QDateTime::currentMSecsSinceEpoch()));
                ::kill(::getpid(), SIGTERM);
            }).detach();
            Doc().MenuImport();
            const bool ended = QTest::qWaitFor([&] { return main->IsUnloaded(); }, 30000);
            // As the program's main ends once its window has closed.
            std::_Exit(ended ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    const qint64 ended = QDateTime::currentMSecsSinceEpoch();
    qunsetenv(kSharedVar);
    if (const qint64 pid = ReadBytes(simPid).toLongLong(); pid > 0) {
        ::kill(static_cast<pid_t>(pid), SIGKILL);
    }
    ASSERT_TRUE(QFileInfo::exists(sentAt));
    EXPECT_LT(ended - ReadBytes(sentAt).toLongLong(), kEndWithinMs);

    // The copy holds the records the meter sent, as an import here gets them.
    const QByteArray home = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", folder.toLocal8Bit());
    const QStringList copies = RecoveryStore().List();
    qputenv("XDG_DATA_HOME", home);
    ASSERT_EQ(copies.size(), 1);
    Doc().MenuImport();
    MValSet kept;
    ASSERT_EQ(main->services().measVal.OpenFile(kept, copies[0]), CMeasVal::kOpened);
    EXPECT_EQ(kept.strMVals, Doc().MVals().strMVals);
    EXPECT_EQ(kept.strSerNo, QStringLiteral("ZV-5"));
}
