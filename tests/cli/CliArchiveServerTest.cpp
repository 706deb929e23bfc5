// `archive add` against a PostgreSQL server that stops answering or goes away for good: it
// ends within its own deadline, or after one new connection, each time with one message.

#include "app/TextTables.h"
#include "support/CliRunner.h"
#include "support/DatasetFiles.h"
#include "support/MeterSim.h"
#include "support/PostgresServer.h"
#include "support/PostgresSession.h"
#include "support/PostgresTest.h"
#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>

namespace {

class CliArchiveServerTest : public PostgresTest {
protected:
    void SetUp() override {
        PostgresTest::SetUp();
        if (!Ready()) {
            return;
        }
        // The program folder, and with it Settings.ini, is the test's own.
        WriteBytes(dir.file(QStringLiteral("Settings.ini")),
                   QStringLiteral("[Archive]\r\nDatabase=%1\r\nLockTimeout=4\r\n"
                                  "StatementTimeout=2\r\n")
                       .arg(server->Address(name))
                       .toUtf8());
        m_saved = qgetenv("MERVEX_PROGRAM_DIR");
        qputenv("MERVEX_PROGRAM_DIR", dir.path().toLocal8Bit());
        m_overridden = true;
    }
    void TearDown() override {
        if (m_overridden) {
            qputenv("MERVEX_PROGRAM_DIR", m_saved);
        }
    }

    QString File(const QString& file, const QString& serial, int first, int count) {
        const QString path = dir.file(file);
        WritePhotometerFile(path, serial, ArchivePhotometerRecords(first, count));
        return path;
    }
    // Starts the command `args` (`archive add FILES`, say), and once its server backend waits
    // for a meter's lock, which `holder` keeps, gives that backend's process id.
    qint64 StartBlocked(QProcess& cli, PostgresSession& holder, PostgresSession& admin,
                        const QStringList& args) {
        EXPECT_TRUE(holder.Exec(QStringLiteral("SELECT pg_advisory_lock(id) FROM meters")));
        cli.start(CliPath(), args);
        const QString waiting =
            QStringLiteral("SELECT pid FROM pg_stat_activity WHERE datname = '%1' AND "
                           "wait_event_type = 'Lock'")
                .arg(name);
        QDeadlineTimer deadline(20000);
        qint64 pid = -1;
        while (pid <= 0 && !deadline.hasExpired()) {
            QThread::msleep(20); // polling the server's view: nothing to wait on
            pid = admin.Number(waiting);
        }
        return pid;
    }
    // Runs `args` blocked as StartBlocked does, then stops its backend (stopped, it fires
    // none of the server's own time-outs) and lets the lock go; the milliseconds the command
    // then took to end, or -1 when it did not end within 30 s.
    qint64 RunWithStoppedBackend(QProcess& cli, const QStringList& args) {
        PostgresSession holder(*server, name);
        PostgresSession admin(*server, QStringLiteral("postgres"));
        const qint64 pid = StartBlocked(cli, holder, admin, args);
        if (pid <= 0 || ::kill(pid_t(pid), SIGSTOP) != 0) {
            ADD_FAILURE() << "no backend waited for the lock";
            cli.kill();
            cli.waitForFinished();
            return -1;
        }
        holder.Exec(QStringLiteral("SELECT pg_advisory_unlock_all()"));
        QElapsedTimer timer;
        timer.start();
        const bool ended = cli.waitForFinished(30000);
        ::kill(pid_t(pid), SIGCONT);
        return ended ? timer.elapsed() : -1;
    }

    TempDir dir;

private:
    QByteArray m_saved;
    bool m_overridden = false;
};

TEST_F(CliArchiveServerTest, ABackendThatStopsAnsweringEndsTheAddWithinTheDeadline) {
    ASSERT_EQ(RunCli({QStringLiteral("archive"), QStringLiteral("add"),
                      File(QStringLiteral("first.csv"), QStringLiteral("S1"), 0, 1)})
                  .exitCode,
              0);
    QProcess cli;
    const qint64 took =
        RunWithStoppedBackend(cli, {QStringLiteral("archive"), QStringLiteral("add"),
                                    File(QStringLiteral("more.csv"), QStringLiteral("S1"), 1, 5)});
    ASSERT_GE(took, 0);
    // Its deadline: the longer time-out (4 s) and 5 s.
    EXPECT_LT(took, 12000);
    EXPECT_EQ(cli.exitCode(), 3);
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("ne répond plus depuis 9 s"))) << err.toStdString();
    EXPECT_TRUE(cli.readAllStandardOutput().isEmpty());
}

// An import from the meter archives as it ends: a server that stops answering then costs it
// the archiving only, within the same deadline; the dataset file is saved.
TEST_F(CliArchiveServerTest, AnImportWhoseArchiveStopsAnsweringIsSavedAndEndsInTime) {
    MeterSim sim({QStringLiteral("--model"), QStringLiteral("Zentravox"),
                  QStringLiteral("--records"), QStringLiteral("5")});
    const QString out = dir.file(QStringLiteral("import.csv"));
    const QStringList import = {QStringLiteral("--port"), sim.device(),
                                QStringLiteral("--user"), QStringLiteral("tech"),
                                QStringLiteral("import"), out};
    const CliResult first = RunCli(import); // the meter is in the archive from now on
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    QFile::remove(out);
    QProcess cli;
    const qint64 took = RunWithStoppedBackend(cli, import);
    ASSERT_GE(took, 0);
    EXPECT_LT(took, 12000);
    EXPECT_EQ(cli.exitCode(), 0);
    EXPECT_TRUE(QFile::exists(out));
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("ne répond plus depuis 9 s"))) << err.toStdString();
}

TEST_F(CliArchiveServerTest, AServerGoneForGoodStopsTheAddWithOneMessage) {
    const QString first = File(QStringLiteral("first.csv"), QStringLiteral("S1"), 0, 1);
    ASSERT_EQ(RunCli({QStringLiteral("archive"), QStringLiteral("add"), first}).exitCode, 0);
    PostgresSession holder(*server, name);
    PostgresSession admin(*server, QStringLiteral("postgres"));
    QProcess cli;
    const QString other = File(QStringLiteral("other.csv"), QStringLiteral("S2"), 0, 3);
    const qint64 pid =
        StartBlocked(cli, holder, admin,
                     {QStringLiteral("archive"), QStringLiteral("add"), other,
                      File(QStringLiteral("a.csv"), QStringLiteral("S1"), 1, 3),
                      File(QStringLiteral("b.csv"), QStringLiteral("S1"), 4, 3), first});
    ASSERT_GT(pid, 0);
    ASSERT_TRUE(admin.Exec(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS false").arg(name)));
    ASSERT_TRUE(admin.Exec(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid)));
    ASSERT_TRUE(cli.waitForFinished(30000));
    admin.Exec(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS true").arg(name));
    EXPECT_EQ(cli.exitCode(), 3);
    // The file before the loss was archived; the others were not tried on a dead connection.
    EXPECT_EQ(QString::fromUtf8(cli.readAllStandardOutput()),
              LoadResString(1653).arg(other).arg(3).arg(0) + QLatin1Char('\n'));
    const QString err = QString::fromUtf8(cli.readAllStandardError());
    EXPECT_EQ(err.count(QLatin1Char('\n')), 1) << err.toStdString();
    EXPECT_TRUE(err.startsWith(QStringLiteral("La connexion au serveur d'archive")))
        << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("is not currently accepting connections")))
        << err.toStdString();
}

} // namespace
