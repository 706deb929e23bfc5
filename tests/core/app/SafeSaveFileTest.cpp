#include "app/SafeSaveFile.h"

#include "app/CCSVFile.h"
#include "support/SmallDisk.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

constexpr qint64 kDiskSize = 64 * 1024;

// The description of the failure of writing `bytes` to `path`, empty when it worked.
QString SaveFailure(const QString& path, const QByteArray& bytes) {
    try {
        WriteWholeFileBytes(path, bytes);
    } catch (const MervexError& error) {
        return error.Description();
    }
    return QString();
}

} // namespace

TEST(SafeSaveFile, AFullDiskKeepsTheOldFileAndNamesTheReason) {
    const SmallDisk disk(kDiskSize, 16);
    if (!disk.Mounted()) {
        GTEST_SKIP() << disk.Why();
    }
    const QString path = disk.file(QStringLiteral("old.csv"));
    const QByteArray old(24375, 'o');
    ASSERT_TRUE(SaveFailure(path, old).isEmpty());
    disk.Fill();
    // Part of the new content fits: the system takes some of it before it runs out.
    EXPECT_EQ(SaveFailure(path, QByteArray(40000, 'n')), path + QStringLiteral(": Disque plein"));
    EXPECT_TRUE(ReadBytes(path) == old) << "the old file changed";
    EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("filler"), QStringLiteral("old.csv")}));
}

// Room for the old file and no other: the content can only go into the old file.
TEST(SafeSaveFile, AFolderThatRefusesNewFilesGetsTheContentInPlaceOnlyWhenItFits) {
    const SmallDisk disk(kDiskSize, 2);
    if (!disk.Mounted()) {
        GTEST_SKIP() << disk.Why();
    }
    const QString path = disk.file(QStringLiteral("old.csv"));
    const QByteArray old(24375, 'o');
    ASSERT_TRUE(SaveFailure(path, old).isEmpty());
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    const QFile::Permissions mode = QFile::permissions(path);
    ASSERT_FALSE(SaveFailure(disk.file(QStringLiteral("new.csv")), "x").isEmpty());

    const QByteArray smaller(30000, 's');
    EXPECT_TRUE(SaveFailure(path, smaller).isEmpty());
    EXPECT_TRUE(ReadBytes(path) == smaller) << "the file changed";
    EXPECT_EQ(QFile::permissions(path), mode);

    // More than the disk holds: the old content is not touched (it was cut before).
    EXPECT_EQ(SaveFailure(path, QByteArray(2 * kDiskSize, 'b')),
              path + QStringLiteral(": Disque plein"));
    EXPECT_TRUE(ReadBytes(path) == smaller) << "the file changed";
    EXPECT_EQ(QFileInfo(path).size(), smaller.size());
}

TEST(SafeSaveFile, AReadOnlyFileSystemKeepsTheOldFileAndNamesTheReason) {
    const SmallDisk disk(kDiskSize, 16);
    if (!disk.Mounted()) {
        GTEST_SKIP() << disk.Why();
    }
    const QString path = disk.file(QStringLiteral("old.csv"));
    ASSERT_TRUE(SaveFailure(path, "old").isEmpty());
    ASSERT_TRUE(disk.MakeReadOnly());
    EXPECT_EQ(SaveFailure(path, "new"),
              path + QStringLiteral(": Système de fichiers en lecture seule"));
    EXPECT_EQ(ReadBytes(path), QByteArray("old"));
}

TEST(SafeSaveFile, AStreamedContentAppearsOnlyWhenCommitted) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("out.pdf"));
    WriteBytes(path, "old");
    {
        SafeSaveFile file(path);
        file.Begin();
        // Small pieces and large ones, as a PDF writer and a spreadsheet writer give them.
        for (int i = 0; i < 1000; ++i) {
            file.write(QByteArray(100, 'a'));
        }
        file.write(QByteArray(100000, 'b'));
        EXPECT_EQ(ReadBytes(path), QByteArray("old"));
    } // not committed: forgotten
    EXPECT_EQ(ReadBytes(path), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.pdf"});

    SafeSaveFile file(path);
    file.Begin();
    file.write(QByteArray(100, 'a'));
    file.write(QByteArray(100000, 'b'));
    file.Commit();
    EXPECT_EQ(ReadBytes(path), QByteArray(100, 'a') + QByteArray(100000, 'b'));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"out.pdf"});
}
