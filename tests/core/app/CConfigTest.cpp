#include "app/CConfig.h"

#include "app/CCSVFile.h"
#include "app/Windows1252.h"
#include "support/FileSizeLimit.h"
#include "support/LockedFolder.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <utility>

namespace {

// Points the per-user folders at a fresh temporary home for one test.
class CConfigTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", m_home.file(".config").toLocal8Bit());
        QStandardPaths::setTestModeEnabled(false);
    }
    void TearDown() override { qputenv("XDG_CONFIG_HOME", m_saved); }

    QString ConfigFile() { return m_home.file(".config/Mervex/MervexConfig.ini"); }
    QString Documents() {
        return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    }

    TempDir m_home;
    QByteArray m_saved;
    ScriptedUi ui;
    CConfig config{ui};
};

} // namespace

TEST_F(CConfigTest, FirstRunCreatesTheFileWithTheDocumentsFolder) {
    EXPECT_FALSE(QFile::exists(ConfigFile()));
    EXPECT_EQ(config.WorkDir(), Documents());
    EXPECT_EQ(ReadBytes(ConfigFile()), ("Dir = " + Documents()).toLocal8Bit());
    EXPECT_TRUE(ui.messages.isEmpty());
}

// A fresh account has no documents folder yet: the default work directory is made, so the
// program console does not greet the user with a directory read error.
TEST_F(CConfigTest, AMissingDocumentsFolderIsCreatedAsTheWorkDirectory) {
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", m_home.path().toLocal8Bit());
    const QString documents = Documents();
    EXPECT_TRUE(documents.startsWith(m_home.path())) << documents.toStdString();
    EXPECT_FALSE(QFileInfo::exists(documents));
    EXPECT_EQ(config.WorkDir(), documents);
    EXPECT_TRUE(QFileInfo(documents).isDir());
    // Removed again later (the config file still names it): the next read makes it again.
    ASSERT_TRUE(QDir(documents).removeRecursively());
    EXPECT_EQ(config.WorkDir(), documents);
    EXPECT_TRUE(QFileInfo(documents).isDir());
    EXPECT_TRUE(ui.messages.isEmpty());
    qputenv("HOME", savedHome);
}

TEST_F(CConfigTest, ContentIsTakenAsItStands) {
    config.SpecialFolderPath(CConfig::kAppDataFolder);
    WriteBytes(ConfigFile(), "Dir = ");
    EXPECT_EQ(config.WorkDir(), QString());
    WriteBytes(ConfigFile(), "Dir = /srv/lab\r\n");
    EXPECT_EQ(config.WorkDir(), QStringLiteral("/srv/lab\r\n"));
    // The prefix is not checked: any six characters are dropped.
    WriteBytes(ConfigFile(), "XXXXXX/data/r\xE9sultats");
    EXPECT_EQ(config.WorkDir(), QStringLiteral("/data/résultats"));
    WriteBytes(ConfigFile(), "Dir");
    EXPECT_EQ(config.WorkDir(), QString());
}

TEST_F(CConfigTest, WritingTheWorkDirIsReadBackAndNotCached) {
    config.WorkDir(QStringLiteral("/tmp/Unité é à ç"));
    EXPECT_EQ(ReadBytes(ConfigFile()), QByteArray("Dir = /tmp/Unit\xE9 \xE9 \xE0 \xE7"));
    EXPECT_EQ(config.WorkDir(), QStringLiteral("/tmp/Unité é à ç"));
    WriteBytes(ConfigFile(), "Dir = /elsewhere");
    EXPECT_EQ(config.WorkDir(), QStringLiteral("/elsewhere"));
}

TEST_F(CConfigTest, FailedWriteKeepsThePreviousWorkDir) {
    config.WorkDir(QStringLiteral("/first"));
    {
        FileSizeLimit limit(64);
        config.WorkDir(QStringLiteral("/") + QString(200, QLatin1Char('x')));
    }
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(ui.messages.front().title, QStringLiteral("Erreur"));
    EXPECT_EQ(ui.messages.front().icon, MsgIcon::Critical);
    EXPECT_EQ(config.WorkDir(), QStringLiteral("/first"));
}

TEST_F(CConfigTest, SpecialFoldersOutsideTheTwoKnownAreEmpty) {
    EXPECT_EQ(config.SpecialFolderPath(CConfig::kDocumentsFolder), Documents());
    EXPECT_EQ(config.SpecialFolderPath(CConfig::kAppDataFolder), m_home.file(".config/Mervex"));
    EXPECT_TRUE(QDir(m_home.file(".config/Mervex")).exists());
    EXPECT_EQ(config.SpecialFolderPath(0), QString());
    EXPECT_EQ(config.SpecialFolderPath(35), QString());
}

TEST(CCSVFile, RoundTripsWindows1252WithoutAddingALineEnd) {
    ScriptedUi ui;
    CCSVFile file(ui);
    TempDir dir;
    const QString path = dir.file("t.csv");
    ASSERT_TRUE(file.WriteFile(path, QStringLiteral("Unité é à ç\r\n€")));
    EXPECT_EQ(ReadBytes(path), QByteArray("Unit\xE9 \xE9 \xE0 \xE7\r\n\x80"));
    QString back;
    ASSERT_TRUE(file.ReadFile(back, path));
    EXPECT_EQ(back, QStringLiteral("Unité é à ç\r\n€"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(CCSVFile, FailuresAreReportedAndKeepTheOldFile) {
    ScriptedUi ui;
    CCSVFile file(ui);
    TempDir dir;
    QString text = QStringLiteral("unchanged");
    EXPECT_FALSE(file.ReadFile(text, dir.file("missing.csv")));
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages.front().text.contains(QStringLiteral("missing.csv")));
    EXPECT_EQ(ui.messages.front().title, QStringLiteral("Erreur"));

    // A file in a folder that does not exist cannot be written.
    EXPECT_FALSE(file.WriteFile(dir.file("no/such/folder/x.csv"), QStringLiteral("x")));
    EXPECT_EQ(ui.messages.size(), 2);

    // A write that fails half-way leaves the previous file as it was.
    const QString path = dir.file("keep.csv");
    WriteBytes(path, "old content");
    {
        FileSizeLimit limit(1024);
        EXPECT_FALSE(file.WriteFile(path, QString(5000, QLatin1Char('n'))));
    }
    EXPECT_EQ(ReadBytes(path), QByteArray("old content"));
    EXPECT_EQ(ui.messages.size(), 3);
}

TEST(Windows1252, EveryByteRoundTripsAndForeignCharactersAreMarked) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    bool complete = false;
    EXPECT_EQ(Windows1252::Encode(Windows1252::Decode(all), &complete), all);
    EXPECT_TRUE(complete);
    EXPECT_EQ(Windows1252::Decode("\x80\x9C\xFF"), QStringLiteral("€œÿ"));
    EXPECT_EQ(Windows1252::Encode(QStringLiteral("a→b"), &complete), QByteArray("a?b"));
    EXPECT_FALSE(complete);
    EXPECT_EQ(Windows1252::EncodeChar(u'€'), 0x80);
    EXPECT_EQ(Windows1252::EncodeChar(u'Ω'), -1);
}

// Long texts are decoded in chunks, most of them without the table: a byte that needs it
// must be found wherever it lies in its chunk, and the bytes around it left as they are.
TEST(Windows1252, ABytePastLatin1DecodesAtAnyPlaceOfALongText) {
    const QByteArray plain(300, 'a');
    for (const auto& [byte, ch] : {std::pair{'\x80', u'€'}, std::pair{'\x9F', u'Ÿ'}}) {
        for (qsizetype at = 0; at < plain.size(); ++at) {
            QByteArray bytes = plain;
            bytes[at] = byte;
            bytes[plain.size() - 1 - at] = '\xE9';
            QString expected(plain.size(), QLatin1Char('a'));
            expected[plain.size() - 1 - at] = u'é';
            expected[at] = ch;
            ASSERT_EQ(Windows1252::Decode(bytes), expected) << at;
        }
    }
}

TEST(CCSVFile, FilesFromOtherToolsReadLikeTheProgramsOwn) {
    ScriptedUi ui;
    CCSVFile file(ui);
    TempDir dir;
    const QString path = dir.file("t.csv");
    const QString expected = QStringLiteral("Unité;mg/l\r\n€;x\r\n");
    QString back;
    for (const QByteArray& bytes : {
             QByteArray("Unit\xE9;mg/l\r\n\x80;x\r\n"),                         // the program's own
             QByteArray("Unit\xE9;mg/l\n\x80;x\n"),                             // LF line ends
             QByteArray("\xEF\xBB\xBFUnit\xC3\xA9;mg/l\r\n\xE2\x82\xAC;x\r\n"), // BOM
             QByteArray("Unit\xC3\xA9;mg/l\n\xE2\x82\xAC;x\n"),                 // UTF-8, LF
             QByteArray("\xEF\xBB\xBFUnit\xC3\xA9;mg/l\n\xE2\x82\xAC;x\r\n"),   // mixed
         }) {
        WriteBytes(path, bytes);
        ASSERT_TRUE(file.ReadFile(back, path));
        EXPECT_EQ(back, expected) << bytes.toHex().toStdString();
    }
    // Bytes that are not valid UTF-8 stay Windows-1252, even when a part of them would be.
    EXPECT_EQ(DecodeFileText("\xC3\xA9 \xE9"), QStringLiteral("Ã© é"));
    EXPECT_EQ(DecodeFileText("plain"), QStringLiteral("plain"));
    EXPECT_EQ(DecodeFileText("\xEF\xBB\xBF"), QString());
    // A carriage return of its own is not a line end and stays as it is.
    WriteBytes(path, "a\rb\r\n\nc");
    ASSERT_TRUE(file.ReadFile(back, path));
    EXPECT_EQ(back, QStringLiteral("a\rb\r\n\r\nc"));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST(CCSVFile, AFolderThatRefusesNewFilesStillTakesAWritableFile) {
    ScriptedUi ui;
    CCSVFile file(ui);
    TempDir dir;
    const QString folder = dir.file("locked");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path = folder + QStringLiteral("/data.csv");
    WriteBytes(path, "old");
    {
        LockedFolder lock(folder);
        EXPECT_TRUE(file.WriteFile(path, QStringLiteral("new é")));
        EXPECT_TRUE(ui.messages.isEmpty());
        // A new file cannot be made there: still reported.
        EXPECT_FALSE(file.WriteFile(folder + QStringLiteral("/other.csv"), QStringLiteral("x")));
        EXPECT_EQ(ui.messages.size(), 1);
    }
    EXPECT_EQ(ReadBytes(path), QByteArray("new \xE9"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{QStringLiteral("data.csv")});
}

TEST_F(CConfigTest, AWorkDirOutsideWindows1252ReadsBackExactly) {
    const QString polish = m_home.file(QStringLiteral("Łódź pomiary"));
    ASSERT_TRUE(QDir().mkpath(polish));
    config.WorkDir(polish);
    EXPECT_EQ(config.WorkDir(), polish);
    EXPECT_TRUE(QFileInfo(config.WorkDir()).isDir());
    EXPECT_TRUE(ReadBytes(ConfigFile())
                    .startsWith("\xEF\xBB\xBF"
                                "Dir = "));
    // A path the code page holds keeps the file's usual bytes.
    config.WorkDir(QStringLiteral("/srv/r\u00E9sultats"));
    EXPECT_EQ(ReadBytes(ConfigFile()), QByteArray("Dir = /srv/r\xE9sultats"));
    EXPECT_TRUE(ui.messages.isEmpty());
}
