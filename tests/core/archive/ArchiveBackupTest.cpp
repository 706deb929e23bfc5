#include "archive/ArchiveBackup.h"

#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveQuery.h"
#include "archive/ArchiveWriter.h"
#include "data/MValSet.h"
#include "meter/RecordLayout.h"
#include "support/LockedFolder.h"
#include "support/PostgresServer.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const RecordLayout kLayout = RecordLayout::Of(MeterFamily::Ardel20);

MValSet Records(int count) {
    MValSet set;
    set.strMeter = QStringLiteral("Ardel 20 IR");
    set.strSerNo = QStringLiteral("A1");
    set.strUser = QStringLiteral("Marc");
    set.strMVals = QStringLiteral("\r\n");
    for (int i = 1; i <= count; ++i) {
        set.strMVals += QStringLiteral("%1;02.04.24;13:45:%2;3;1.5;NTU;OK;;;\r\n")
                            .arg(i)
                            .arg(i % 60, 2, 10, QLatin1Char('0'));
    }
    set.strMVals += QStringLiteral("!\r\n>");
    return set;
}

qint64 RecordsIn(const QString& path) {
    ArchiveDatabase db;
    qint64 count = -1;
    EXPECT_TRUE(db.Open(ArchiveTarget::File(path)) && ArchiveQuery(db).Count({}, count))
        << db.Error().toStdString();
    return count;
}

TEST(ArchiveBackup, WritesAReadableCopyOnlyItsOwnerReadsAndKeepsTheLastOneOnFailure) {
    TempDir dir;
    ArchiveDatabase db;
    ASSERT_TRUE(db.Open(ArchiveTarget::File(dir.file(QStringLiteral("archive.sqlite")))));
    ArchiveCounts counts;
    ASSERT_TRUE(ArchiveWriter(db).Add(Records(25), kLayout, QString(), counts));

    const QString copy = dir.file(QStringLiteral("backups/monday.sqlite"));
    QDir().mkpath(dir.file(QStringLiteral("backups")));
    ArchiveBackup backup(db);
    ASSERT_TRUE(backup.WriteTo(copy)) << backup.Error().toStdString();
    EXPECT_EQ(backup.Records(), 25);
    const QFileDevice::Permissions ownerGroupOther(0x7077);
    EXPECT_EQ(QFile::permissions(copy) & ownerGroupOther, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(RecordsIn(copy), 25);

    // Replacing it: the new copy whole, or the old one untouched.
    MValSet more = Records(40);
    ASSERT_TRUE(ArchiveWriter(db).Add(more, kLayout, QString(), counts));
    ASSERT_TRUE(backup.WriteTo(copy)) << backup.Error().toStdString();
    EXPECT_EQ(RecordsIn(copy), 40);
    {
        PermissionsCount permissions;
        QFile::setPermissions(dir.file(QStringLiteral("backups")),
                              QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_FALSE(backup.WriteTo(copy));
        QFile::setPermissions(dir.file(QStringLiteral("backups")),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    EXPECT_TRUE(backup.Error().contains(QStringLiteral("reste telle quelle")))
        << backup.Error().toStdString();
    EXPECT_EQ(RecordsIn(copy), 40);
    EXPECT_EQ(QDir(dir.file(QStringLiteral("backups"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("monday.sqlite")});

    EXPECT_FALSE(backup.WriteTo(db.Target().path));
    EXPECT_EQ(RecordsIn(db.Target().path), 40);
}

TEST(ArchiveBackup, AServersArchiveNamesItsOwnTool) {
    QString reason;
    PostgresServer* server = PostgresServer::Shared(reason);
    if (server == nullptr) {
        GTEST_SKIP() << reason.toStdString();
    }
    ASSERT_TRUE(server->CreateDatabase(QStringLiteral("backup_named")));
    ArchiveDatabase db;
    ASSERT_TRUE(db.Open(*ArchiveTarget::Parse(server->Address(QStringLiteral("backup_named")))));
    TempDir dir;
    ArchiveBackup backup(db);
    EXPECT_FALSE(backup.WriteTo(dir.file(QStringLiteral("copy.sqlite"))));
    EXPECT_TRUE(backup.Error().contains(QStringLiteral("pg_dump -Fc -f mervex.dump backup_named")))
        << backup.Error().toStdString();
    EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("copy.sqlite"))));
}

} // namespace
