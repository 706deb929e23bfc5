// A process killed (SIGKILL) in the middle of `archive add` leaves the archive with the
// whole file's records or none of them, and the next add works.

#include "archive/ArchiveChain.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveQuery.h"
#include "support/CliRunner.h"
#include "support/DatasetFiles.h"
#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSqlQuery>
#include <csignal>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

constexpr int kRecords = 100000;
constexpr unsigned kPollUs = 200;

// The records the archive holds, and whether its imports account for exactly them.
qint64 ArchivedRecords(const QString& path, bool& consistent) {
    ArchiveDatabase db;
    EXPECT_TRUE(db.Open(ArchiveTarget::File(path))) << db.Error().toStdString();
    ArchiveTotals totals;
    EXPECT_TRUE(ArchiveQuery(db).Totals(totals)) << db.Error().toStdString();
    QSqlQuery added(db.Connection());
    added.exec(QStringLiteral("SELECT COALESCE(SUM(added_count), 0) FROM import_results"));
    added.next();
    ChainReport chain;
    EXPECT_TRUE(ArchiveChain(db).Verify(chain)) << db.Error().toStdString();
    consistent = added.value(0).toLongLong() == totals.records && chain.Intact();
    return totals.records;
}

TEST(ArchiveKill, AnInterruptedAddLeavesAllOrNothing) {
    TempDir dir;
    const QByteArray savedHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.file(QStringLiteral("data")).toLocal8Bit());
    const QString file = dir.file(QStringLiteral("big.csv"));
    WritePhotometerFile(file, QStringLiteral("S1"), ArchivePhotometerRecords(0, kRecords));
    const QString archive = ArchiveTarget::DefaultFile().path;
    const QString journal = archive + QStringLiteral("-wal");

    // Kill once the journal holds this many bytes of the transaction.
    const qint64 killPoints[] = {0, 1 << 20, 4 << 20, 8 << 20};
    int killed = 0;
    for (const qint64 point : killPoints) {
        QProcess adder;
        adder.start(CliPath(), {QStringLiteral("archive"), QStringLiteral("add"), file});
        ASSERT_TRUE(adder.waitForStarted());
        QDeadlineTimer deadline(60000);
        while (adder.state() == QProcess::Running && !deadline.hasExpired() &&
               !(QFileInfo::exists(journal) && QFileInfo(journal).size() >= point)) {
            usleep(kPollUs);
        }
        if (adder.state() == QProcess::Running) {
            ::kill(static_cast<pid_t>(adder.processId()), SIGKILL);
            ++killed;
        }
        adder.waitForFinished();
        bool consistent = false;
        const qint64 count = ArchivedRecords(archive, consistent);
        EXPECT_TRUE(count == 0 || count == kRecords)
            << "after a kill at " << point << ": " << count;
        EXPECT_TRUE(consistent);
        if (count == kRecords) {
            break;
        }
    }
    EXPECT_GT(killed, 0);
    const CliResult again = RunCli({QStringLiteral("archive"), QStringLiteral("add"), file});
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    bool consistent = false;
    EXPECT_EQ(ArchivedRecords(archive, consistent), kRecords);
    EXPECT_TRUE(consistent);
    qputenv("XDG_DATA_HOME", savedHome);
}

} // namespace
