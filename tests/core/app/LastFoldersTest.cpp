#include "app/LastFolders.h"

#include "support/TempDir.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

class LastFoldersTest : public ::testing::Test {
protected:
    void SetUp() override { QSettings().remove(QStringLiteral("Folders")); }
    void TearDown() override { QSettings().remove(QStringLiteral("Folders")); }

    static QString Documents() {
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }

    TempDir m_dir;
};

} // namespace

TEST_F(LastFoldersTest, NothingRememberedStartsAtTheCallersFolderElseTheDocuments) {
    EXPECT_EQ(LastFolders::StartFolder(FileKind::Program, m_dir.path()), m_dir.path());
    EXPECT_EQ(LastFolders::StartFolder(FileKind::Dataset, QString()), Documents());
    // A work directory that has gone: never the process's current directory.
    EXPECT_EQ(LastFolders::StartFolder(FileKind::Protocol, m_dir.file("gone")), Documents());
    EXPECT_NE(LastFolders::StartFolder(FileKind::Other, QString()), QDir::currentPath());
}

TEST_F(LastFoldersTest, EachKindRemembersItsOwnFolder) {
    QDir(m_dir.path()).mkdir(QStringLiteral("data"));
    QDir(m_dir.path()).mkdir(QStringLiteral("sheets"));
    LastFolders::Remember(FileKind::Dataset, m_dir.file("data/run 1.csv"));
    LastFolders::Remember(FileKind::Spreadsheet, m_dir.file("sheets/run 1.xlsx"));
    LastFolders::Remember(FileKind::Other, m_dir.file("sheets/plot.png"));
    EXPECT_EQ(LastFolders::StartFolder(FileKind::Dataset, QString()), m_dir.file("data"));
    EXPECT_EQ(LastFolders::StartFolder(FileKind::Spreadsheet, QString()), m_dir.file("sheets"));
    // Kinds not remembered yet keep their own start, the caller's work directory.
    EXPECT_EQ(LastFolders::StartFolder(FileKind::Program, m_dir.path()), m_dir.path());
    EXPECT_EQ(LastFolders::StartFolder(FileKind::Other, QString()), Documents());
    // Kept in the per-user settings store, so the next start of the program has it too.
    EXPECT_EQ(QSettings().value(QStringLiteral("Folders/Dataset")).toString(), m_dir.file("data"));

    // A remembered folder that has since been removed gives way to the caller's.
    ASSERT_TRUE(QDir(m_dir.file("data")).removeRecursively());
    EXPECT_EQ(LastFolders::StartFolder(FileKind::Dataset, m_dir.path()), m_dir.path());
}
