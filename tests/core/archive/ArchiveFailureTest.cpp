// An archive that cannot be used says why, quickly, and changes nothing.

#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveQuery.h"
#include "archive/ArchiveWriter.h"
#include "data/MValSet.h"
#include "meter/RecordLayout.h"
#include "support/LockedFolder.h"
#include "support/PostgresServer.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

constexpr qint64 kPromptMs = 5000;

MValSet OneRecord() {
    MValSet set;
    set.strMeter = QStringLiteral("Ardel 20 IR");
    set.strSerNo = QStringLiteral("A1");
    set.strUser = QStringLiteral("Marc");
    set.strMVals = QStringLiteral("\r\n1;02.04.24;13:45:10;3;1.5;NTU;OK;;;\r\n!\r\n>");
    return set;
}

const RecordLayout kLayout = RecordLayout::Of(MeterFamily::Ardel20);

TEST(ArchiveTarget, ReadsFilePathsAndServerAddressesWithoutPasswords) {
    const std::optional<ArchiveTarget> server =
        ArchiveTarget::Parse(QStringLiteral("postgresql://lab@db.example.org:5433/mervex"));
    ASSERT_TRUE(server);
    EXPECT_EQ(server->engine, ArchiveTarget::Engine::Postgres);
    EXPECT_EQ(server->user, QStringLiteral("lab"));
    EXPECT_EQ(server->host, QStringLiteral("db.example.org"));
    EXPECT_EQ(server->port, 5433);
    EXPECT_EQ(server->databaseName, QStringLiteral("mervex"));
    EXPECT_EQ(ArchiveTarget::Parse(QStringLiteral("postgresql://lab@db/m"))->port, 5432);
    EXPECT_FALSE(ArchiveTarget::Parse(QStringLiteral("postgresql://lab:secret@db/m")));
    EXPECT_FALSE(ArchiveTarget::Parse(QStringLiteral("postgresql://db/m")));
    EXPECT_FALSE(ArchiveTarget::Parse(QStringLiteral("postgresql://lab@db/")));
    const std::optional<ArchiveTarget> file =
        ArchiveTarget::Parse(QStringLiteral(" /srv/a.sqlite "));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->engine, ArchiveTarget::Engine::Sqlite);
    EXPECT_EQ(file->path, QStringLiteral("/srv/a.sqlite"));

    ArchiveDatabase db;
    EXPECT_FALSE(db.Open(ArchiveSettings{QStringLiteral("postgresql://lab:secret@db/m"), true}));
    EXPECT_TRUE(db.Error().contains(QStringLiteral("pgpass"))) << db.Error().toStdString();
    EXPECT_FALSE(db.Error().contains(QStringLiteral("secret")));
}

TEST(ArchiveSqlite, CreatesTheDefaultFileInTheUsersDataFolder) {
    ArchiveDatabase db;
    ASSERT_TRUE(db.Open(ArchiveSettings{})) << db.Error().toStdString();
    EXPECT_TRUE(db.Target().path.startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
    EXPECT_TRUE(QFile::exists(db.Target().path));
    // The lab's measurements are the user's own: no one else on the PC reads them (the
    // user, group and other bits: 0600 and 0700).
    const auto mode = [](const QString& path) { return int(QFile::permissions(path)) & 0x0fff; };
    EXPECT_EQ(mode(db.Target().path), 0x0600);
    EXPECT_EQ(mode(QFileInfo(db.Target().path).absolutePath()), 0x0700);
}

TEST(ArchiveSqlite, RefusesADamagedFileAtOnce) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("archive.sqlite"));
    WriteBytes(path, QByteArray(8192, 'x'));
    QElapsedTimer timer;
    timer.start();
    ArchiveDatabase db;
    EXPECT_FALSE(db.Open(ArchiveTarget::File(path)));
    EXPECT_LT(timer.elapsed(), kPromptMs);
    EXPECT_TRUE(db.Error().contains(QStringLiteral("endommagée"))) << db.Error().toStdString();
    EXPECT_EQ(ReadBytes(path), QByteArray(8192, 'x'));
}

TEST(ArchiveSqlite, ReadOnlyFileIsReadButNotWritten) {
    TempDir dir;
    const ArchiveTarget target = ArchiveTarget::File(dir.file(QStringLiteral("a.sqlite")));
    {
        ArchiveDatabase db;
        ASSERT_TRUE(db.Open(target)) << db.Error().toStdString();
        ArchiveCounts counts;
        ASSERT_TRUE(ArchiveWriter(db).Add(OneRecord(), kLayout, QString(), counts));
    }
    QFile::setPermissions(target.path, QFile::ReadOwner);
    PermissionsCount permissions;
    ArchiveDatabase db;
    ASSERT_TRUE(db.Open(target)) << db.Error().toStdString();
    qint64 count = 0;
    EXPECT_TRUE(ArchiveQuery(db).Count({}, count));
    EXPECT_EQ(count, 1);
    MValSet other = OneRecord();
    other.strSerNo = QStringLiteral("A2");
    QElapsedTimer timer;
    timer.start();
    ArchiveCounts counts;
    EXPECT_FALSE(ArchiveWriter(db).Add(other, kLayout, QString(), counts));
    EXPECT_LT(timer.elapsed(), kPromptMs);
    EXPECT_TRUE(db.Error().contains(QStringLiteral("lecture seule"))) << db.Error().toStdString();
}

TEST(ArchivePostgres, ServerDownOrRefusingTheLoginIsReportedWithinSeconds) {
    QString reason;
    PostgresServer* server = PostgresServer::Shared(reason);
    if (server == nullptr) {
        GTEST_SKIP() << "PostgreSQL half skipped: " << reason.toStdString();
    }
    const QString addresses[] = {
        QStringLiteral("postgresql://mervex@127.0.0.1:%1/postgres").arg(FreeLocalPort()),
        QStringLiteral("postgresql://nobody_here@127.0.0.1:%1/postgres").arg(server->Port())};
    for (const QString& address : addresses) {
        QElapsedTimer timer;
        timer.start();
        ArchiveDatabase db;
        EXPECT_FALSE(db.Open(*ArchiveTarget::Parse(address)));
        EXPECT_LT(timer.elapsed(), kPromptMs);
        EXPECT_TRUE(db.Error().contains(QStringLiteral("serveur d'archive")))
            << db.Error().toStdString();
    }
}

} // namespace
