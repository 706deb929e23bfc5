#include "app/SafeSaveFile.h"

#include "app/CCSVFile.h"
#include "app/SafeSaveFileFaults.h"
#include "support/LockedFolder.h"
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

namespace {

// A dataset file in a folder that refuses new files, saved over in place while the writes
// fail where the test says; the temporary folder is one of the test's own.
class InPlaceSave : public ::testing::Test {
protected:
    InPlaceSave() : m_oldTemp(qgetenv("TMPDIR")) {
        WriteBytes(path, old);
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
    }
    ~InPlaceSave() override {
        SetInPlaceFaultForTests({});
        qputenv("TMPDIR", m_oldTemp);
    }
    // Makes the writes of `stage` fail with `error` from the offset `from` on.
    void FailFrom(InPlaceWrite stage, qint64 from, int error) {
        SetInPlaceFaultForTests([=, this](InPlaceWrite write, qint64 offset) {
            stages << int(write);
            return write == stage && offset >= from ? error : 0;
        });
    }
    QStringList TempFiles() const { return QDir(temp.path()).entryList(QDir::Files); }

    TempDir dir;
    TempDir temp;
    const QString path = dir.file(QStringLiteral("old.csv"));
    const QByteArray old = QByteArray(700000, 'o') + "end";
    const QByteArray longer = QByteArray(900000, 'n');
    QList<int> stages;

private:
    QByteArray m_oldTemp;
};

} // namespace

TEST_F(InPlaceSave, ADeviceErrorInTheMiddlePutsTheOldContentBack) {
    const LockedFolder locked(dir.path());
    FailFrom(InPlaceWrite::Copy, 1, EIO); // the first block is written over already
    EXPECT_EQ(SaveFailure(path, longer),
              path + QStringLiteral(": Erreur d'entrée/sortie sur périphérique"));
    EXPECT_TRUE(ReadBytes(path) == old) << "the old content is lost";
    EXPECT_TRUE(TempFiles().isEmpty()) << TempFiles().join(' ').toStdString();
}

TEST_F(InPlaceSave, AnOldContentThatCannotBePutBackIsKeptAndNamed) {
    const LockedFolder locked(dir.path());
    SetInPlaceFaultForTests([](InPlaceWrite write, qint64 offset) {
        return write != InPlaceWrite::Backup && offset > 0 ? EIO : 0;
    });
    const QString failure = SaveFailure(path, longer);
    ASSERT_EQ(TempFiles().size(), 1);
    const QString kept = temp.file(TempFiles().front());
    EXPECT_EQ(failure, path +
                           QStringLiteral(": Erreur d'entrée/sortie sur périphérique. Le "
                                          "fichier est incomplet; son ancien contenu est "
                                          "conservé dans ") +
                           kept);
    EXPECT_TRUE(ReadBytes(kept) == old);
}

TEST_F(InPlaceSave, NoRoomForTheOldContentsCopyLeavesTheFileUntouched) {
    const LockedFolder locked(dir.path());
    FailFrom(InPlaceWrite::Backup, 0, ENOSPC);
    EXPECT_EQ(SaveFailure(path, longer),
              path + QStringLiteral(": L'ancien contenu n'a pas pu être copié dans ") +
                  temp.path() + QStringLiteral(" (Disque plein)"));
    EXPECT_TRUE(ReadBytes(path) == old);
    EXPECT_FALSE(stages.contains(int(InPlaceWrite::Copy))) << "the file was written";
    EXPECT_TRUE(TempFiles().isEmpty());
}
