// An archive that cannot be used says why, quickly, and changes nothing.

#include "app/RunTimeErrors.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveQuery.h"
#include "archive/ArchiveWriter.h"
#include "data/MValSet.h"
#include "meter/RecordLayout.h"
#include "support/LockedFolder.h"
#include "support/PostgresServer.h"
#include "support/TempDir.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
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

TEST(ArchiveTarget, ReadsAddressesAsUsersWriteThem) {
    const std::optional<ArchiveTarget> server = ArchiveTarget::Parse(
        QStringLiteral("postgresql://lab@db.example.org:5433/mervex?sslmode=require&"
                       "sslrootcert=/etc/ssl/lab%20ca.pem&application_name=it's"));
    ASSERT_TRUE(server);
    EXPECT_EQ(server->engine, ArchiveTarget::Engine::Postgres);
    EXPECT_EQ(server->user, QStringLiteral("lab"));
    EXPECT_EQ(server->host, QStringLiteral("db.example.org"));
    EXPECT_EQ(server->port, 5433);
    EXPECT_EQ(server->databaseName, QStringLiteral("mervex"));
    // Passed on quoted, after the program's own time-out, which an address may override.
    EXPECT_EQ(server->ConnectOptions(4),
              QStringLiteral("connect_timeout=4;keepalives=1;keepalives_idle=30;"
                             "keepalives_interval=10;keepalives_count=3;sslmode='require';"
                             "sslrootcert='/etc/ssl/lab ca.pem';application_name='it\\'s'"));
    const std::optional<ArchiveTarget> shortForm =
        ArchiveTarget::Parse(QStringLiteral("POSTGRES://db/m"));
    ASSERT_TRUE(shortForm);
    EXPECT_EQ(shortForm->engine, ArchiveTarget::Engine::Postgres);
    EXPECT_EQ(shortForm->port, 5432);
    EXPECT_TRUE(shortForm->user.isEmpty());
    EXPECT_EQ(shortForm->Display(), QStringLiteral("postgresql://db:5432/m"));

    const std::optional<ArchiveTarget> file =
        ArchiveTarget::Parse(QStringLiteral(" /srv/a.sqlite "));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->engine, ArchiveTarget::Engine::Sqlite);
    EXPECT_EQ(file->path, QStringLiteral("/srv/a.sqlite"));
    // Settings.ini may be in a folder users cannot write: a relative file is the user's own.
    EXPECT_EQ(ArchiveTarget::Parse(QStringLiteral("lab/a.sqlite"))->path,
              qEnvironmentVariable("XDG_DATA_HOME") +
                  QStringLiteral("/Mervex/Mervex/lab/a.sqlite"));
}

TEST(ArchiveTarget, RefusesWhatCannotBeUsedAsWrittenWithItsReason) {
    TempDir dir;
    const QString before = QDir::currentPath();
    QDir::setCurrent(dir.path());
    const struct {
        const char* address;
        const char* reason;
    } cases[] = {
        {"postgresql://lab:secret@db/m", "pgpass"},
        {"postgres://lab@db/m?password=secret&sslmode=require", "pgpass"},
        {"mysql://lab@db/m", "ni un chemin de fichier"},
        {"file:///srv/a.sqlite", "ni un chemin de fichier"},
        {"postgresql://lab@db/", "incorrecte"},
        {"postgresql://lab@db/m?options=-c%20a=1;b", "incorrecte"},
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(ArchiveTarget::Parse(QString::fromUtf8(c.address), &error)) << c.address;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.reason))) << error.toStdString();
        EXPECT_FALSE(error.contains(QStringLiteral("secret"))) << error.toStdString();

        ArchiveDatabase db;
        EXPECT_FALSE(db.Open(ArchiveSettings{QString::fromUtf8(c.address), true, {}, {}}));
        EXPECT_EQ(db.Error(), error);
    }
    // Never a file named after an address.
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    QDir::setCurrent(before);
}

TEST(ArchivePostgres, TheAddressesParametersReachTheServersClientLibrary) {
    QString reason;
    PostgresServer* server = PostgresServer::Shared(reason);
    if (server == nullptr) {
        GTEST_SKIP() << reason.toStdString();
    }
    ASSERT_TRUE(server->CreateDatabase(QStringLiteral("address_parameters")));
    QString address = server->Address(QStringLiteral("address_parameters"));
    address.replace(QStringLiteral("postgresql://"), QStringLiteral("postgres://"));

    ArchiveDatabase db;
    ASSERT_TRUE(db.Open(ArchiveSettings{address + QStringLiteral("?application_name=lab%20pc&"
                                                                 "sslmode=disable"),
                                        true,
                                        {},
                                        {}}))
        << db.Error().toStdString();
    QSqlQuery name(db.Connection());
    ASSERT_TRUE(name.exec(QStringLiteral("SELECT current_setting('application_name')")));
    ASSERT_TRUE(name.next());
    EXPECT_EQ(name.value(0).toString(), QStringLiteral("lab pc"));

    // The test server speaks without TLS: an address that requires it must not connect.
    ArchiveDatabase tls;
    EXPECT_FALSE(
        tls.Open(ArchiveSettings{address + QStringLiteral("?sslmode=require"), true, {}, {}}));
    EXPECT_TRUE(tls.Error().contains(QStringLiteral("SSL"))) << tls.Error().toStdString();
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

TEST(ArchiveSqlite, AFileOrFolderOnlyReadableIsReadButNotWritten) {
    TempDir dir;
    const QString folder = dir.file(QStringLiteral("shared"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const ArchiveTarget target = ArchiveTarget::File(folder + QStringLiteral("/a.sqlite"));
    {
        ArchiveDatabase db;
        ASSERT_TRUE(db.Open(target)) << db.Error().toStdString();
        ArchiveCounts counts;
        ASSERT_TRUE(ArchiveWriter(db).Add(OneRecord(), kLayout, QString(), counts));
    }
    PermissionsCount permissions;
    // The file itself read-only, then a writable file in a folder the user may only read
    // (where its journal cannot be made).
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner;
    const std::pair<QString, QFile::Permissions> cases[] = {{target.path, QFile::ReadOwner},
                                                            {folder, readOnly}};
    for (const auto& [path, permission] : cases) {
        QFile::setPermissions(target.path, QFile::ReadOwner | QFile::WriteOwner);
        QFile::setPermissions(folder, readOnly | QFile::WriteOwner);
        QFile::setPermissions(path, permission);
        ArchiveDatabase db;
        ASSERT_TRUE(db.Open(target)) << db.Error().toStdString();
        EXPECT_TRUE(db.IsReadOnly());
        EXPECT_FALSE(db.CanWrite());
        EXPECT_EQ(db.WhyReadOnly(), RunTimeText(RtError::ArchiveReadOnly).arg(target.path));
        qint64 count = 0;
        EXPECT_TRUE(ArchiveQuery(db).Count({}, count)) << db.Error().toStdString();
        EXPECT_EQ(count, 1);
        MValSet other = OneRecord();
        other.strSerNo = QStringLiteral("A2");
        QElapsedTimer timer;
        timer.start();
        ArchiveCounts counts;
        EXPECT_FALSE(ArchiveWriter(db).Add(other, kLayout, QString(), counts));
        EXPECT_LT(timer.elapsed(), kPromptMs);
        EXPECT_TRUE(db.Error().contains(QStringLiteral("lecture seule")))
            << db.Error().toStdString();
    }
    QFile::setPermissions(folder, readOnly | QFile::WriteOwner);
}

TEST(ArchiveSqlite, AForeignDatabaseAMissingFolderAndAnUnknownZoneAreRefusedUntouched) {
    TempDir dir;
    const QString foreign = dir.file(QStringLiteral("lims.db"));
    {
        QSqlDatabase other =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        other.setDatabaseName(foreign);
        ASSERT_TRUE(other.open());
        ASSERT_TRUE(QSqlQuery(other).exec(QStringLiteral("CREATE TABLE samples (id INTEGER)")));
        other.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
    const QByteArray before = ReadBytes(foreign);
    const auto unchanged = [&] { return ReadBytes(foreign) == before; };
    ArchiveDatabase db;
    EXPECT_FALSE(db.Open(ArchiveSettings{foreign, true, {}, {}}));
    EXPECT_EQ(db.Error(), RunTimeText(RtError::ArchiveForeign).arg(foreign));
    EXPECT_TRUE(unchanged());
    // A configured folder that is missing is reported as missing, and not made.
    const QString missing = dir.file(QStringLiteral("gone/archive.sqlite"));
    ArchiveDatabase nowhere;
    EXPECT_FALSE(nowhere.Open(ArchiveSettings{missing, true, {}, {}}));
    EXPECT_EQ(nowhere.Error(), RunTimeText(RtError::ArchiveNoFolder).arg(missing));
    EXPECT_FALSE(QFileInfo::exists(dir.file(QStringLiteral("gone"))));
    ArchiveDatabase zone;
    EXPECT_FALSE(
        zone.Open(ArchiveSettings{QString(), true, QStringLiteral("Europe/Atlantis"), {}}));
    EXPECT_TRUE(zone.Error().contains(QStringLiteral("Europe/Atlantis")));
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
