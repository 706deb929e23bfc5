#include "ProgramStoreFixture.h"
#include "programs/SafeDelete.h"
#include "support/LinuxText.h"
#include "support/LockedFolder.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QUrl>

namespace {

// The store works in a fresh work directory, with a trash of its own that does not
// exist yet (deleting must create what it needs).
class ProgramFilesTest : public ProgramStoreTest {
protected:
    void SetUp() override {
        m_savedDataHome = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", m_data.file("share").toLocal8Bit());
        store().WorkDir(m_work.path());
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", m_savedDataHome); }

    QString Work(const QString& name) const { return m_work.file(name); }
    QString Trashed(const QString& name) const { return m_data.file("share/Trash/files/" + name); }

    void WriteProgram(const QString& name, const QString& no) {
        ASSERT_TRUE(store().SaveToFile(Record(no), Work(name)));
    }

    // Numbers and file names listed, in listing order.
    QList<QPair<QString, QString>> ListPC() {
        QStringList numbers(100);
        QStringList names(100);
        short n = -1;
        EXPECT_TRUE(store().ListPC(numbers, names, n));
        QList<QPair<QString, QString>> listed;
        for (int i = 0; i < n; ++i) {
            listed.append({numbers[i], names[i]});
        }
        return listed;
    }

    TempDir m_work;
    TempDir m_data;
    QByteArray m_savedDataHome;
};

} // namespace

TEST_F(ProgramFilesTest, WorkDirIsStoredInTheConfiguration) {
    EXPECT_EQ(store().WorkDir(), m_work.path());
    EXPECT_EQ(services->config.WorkDir(), m_work.path());
}

TEST_F(ProgramFilesTest, SavedFileIsWindows1252AndReadsBack) {
    ProgramRecord record = Record("905");
    record[ProgramField::USER] = "Hélène";
    ASSERT_TRUE(store().SaveToFile(record, Work("PROG 905.csv")));
    const QByteArray bytes = ReadBytes(Work("PROG 905.csv"));
    EXPECT_TRUE(bytes.contains("mg/l;H\xe9l\xe8ne;0;1;0\r\nPAIRS_OF_VARIATES\r\n0;0.002\r\n;"));
    EXPECT_FALSE(bytes.endsWith("\r\n"));
    ProgramRecord back = EmptyProgramRecord();
    ASSERT_TRUE(store().ReadFromFile(back, "PROG 905.csv"));
    EXPECT_EQ(back, record);

    EXPECT_FALSE(store().ReadFromFile(back, "missing.csv"));
    EXPECT_FALSE(store().SaveToFile(ProgramRecord(34), Work("short.csv")));
    EXPECT_FALSE(QFile::exists(Work("short.csv")));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ProgramFilesTest, AFileReSavedByLinuxToolsReadsAndIsListed) {
    ProgramRecord record = Record("905");
    record[ProgramField::USER] = "Hélène";
    ASSERT_TRUE(store().SaveToFile(record, Work("PROG 905.csv")));
    const QByteArray original = ReadBytes(Work("PROG 905.csv"));
    for (const QByteArray& copy : LinuxCopies(original)) {
        WriteBytes(Work("PROG 905.csv"), copy);
        ProgramRecord back = EmptyProgramRecord();
        ASSERT_TRUE(store().ReadFromFile(back, "PROG 905.csv")) << copy.toHex().toStdString();
        EXPECT_EQ(back, record);
        EXPECT_EQ(ListPC(), (QList<QPair<QString, QString>>{{"905", "PROG 905.csv"}}));
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ProgramFilesTest, ListsValidCsvFilesOnly) {
    WriteProgram("PROG 905.csv", "905");
    WriteProgram("other.csv", "901");
    WriteProgram("PROG 907.CSV", "907"); // the extension test is case-sensitive
    WriteProgram("PROG 908.csv.bak", "908");
    WriteBytes(Work("broken.csv"), "not a program");
    QDir(m_work.path()).mkdir("folder.csv");

    auto listed = ListPC();
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed,
              (QList<QPair<QString, QString>>{{"901", "other.csv"}, {"905", "PROG 905.csv"}}));
    EXPECT_TRUE(ui.messages.isEmpty());

    QStringList small(99);
    QStringList names(100);
    short n = -1;
    EXPECT_FALSE(store().ListPC(small, names, n));
    EXPECT_FALSE(store().ListPC(names, small, n));
    EXPECT_EQ(n, -1);

    QStringList numbers(100);
    store().WorkDir(m_work.file("gone"));
    EXPECT_FALSE(store().ListPC(numbers, names, n));
}

TEST_F(ProgramFilesTest, AnUnreadableFileIsReportedOnceUntilItChanges) {
    WriteProgram("PROG 905.csv", "905");
    WriteProgram("locked.csv", "906");
    const QString locked = Work("locked.csv");
    PermissionsCount permissions;
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    for (int i = 0; i < 3; ++i) { // the console lists every five seconds
        EXPECT_EQ(ListPC(), (QList<QPair<QString, QString>>{{"905", "PROG 905.csv"}}));
    }
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.contains("locked.csv"));

    // Changed, still unreadable: said again, once.
    WriteBytes(locked, "changed, and longer than before");
    ListPC();
    ListPC();
    EXPECT_EQ(ui.messages.size(), 2);

    // Readable again, then unreadable again: a new report.
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    ListPC();
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    ListPC();
    ListPC();
    EXPECT_EQ(ui.messages.size(), 3);
    QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(ProgramFilesTest, ListStopsAtAHundredFiles) {
    for (int i = 0; i < 105; ++i) {
        WriteProgram(QStringLiteral("p%1.csv").arg(i), QString::number(900 + i % 100));
    }
    EXPECT_EQ(ListPC().size(), 100);
}

TEST_F(ProgramFilesTest, DeletedFileGoesToTheTrashAndCanBeRestored) {
    WriteProgram("PROG 905.csv", "905");
    const QByteArray content = ReadBytes(Work("PROG 905.csv"));
    ASSERT_TRUE(store().DeleteFile("PROG 905.csv"));
    EXPECT_FALSE(QFile::exists(Work("PROG 905.csv")));
    ASSERT_TRUE(QFile::exists(Trashed("PROG 905.csv")));

    // The trash remembers where the file came from.
    const QByteArray info = ReadBytes(m_data.file("share/Trash/info/PROG 905.csv.trashinfo"));
    const qsizetype at = info.indexOf("\nPath=") + 6;
    ASSERT_GT(at, 6);
    const QString origin = QUrl::fromPercentEncoding(info.mid(at, info.indexOf('\n', at) - at));
    EXPECT_EQ(QFileInfo(origin).fileName(), "PROG 905.csv");
    EXPECT_EQ(QFileInfo(QFileInfo(origin).path()).canonicalFilePath(),
              QFileInfo(m_work.path()).canonicalFilePath());
    ASSERT_TRUE(QFile::rename(Trashed("PROG 905.csv"), origin));
    EXPECT_EQ(ReadBytes(Work("PROG 905.csv")), content);

    EXPECT_FALSE(store().DeleteFile("missing.csv"));
}

TEST_F(ProgramFilesTest, DeleteAllTakesTheListedFilesOnly) {
    WriteProgram("a.csv", "900");
    WriteProgram("b.csv", "901");
    WriteProgram("c.csv", "902");
    WriteProgram("d.CSV", "903");
    WriteBytes(Work("broken.csv"), "x");
    ASSERT_TRUE(store().DeleteFileAll());
    for (const char* name : {"a.csv", "b.csv", "c.csv"}) {
        EXPECT_FALSE(QFile::exists(Work(name))) << name;
        EXPECT_TRUE(QFile::exists(Trashed(name))) << name;
    }
    EXPECT_TRUE(QFile::exists(Work("d.CSV")));
    EXPECT_TRUE(QFile::exists(Work("broken.csv")));
    EXPECT_TRUE(ListPC().isEmpty());
}

TEST_F(ProgramFilesTest, AVanishedFileStopsTheWholeDelete) {
    WriteProgram("a.csv", "900");
    WriteProgram("b.csv", "901");
    EXPECT_FALSE(RecycleAllIfAllExist({Work("a.csv"), Work("gone.csv"), Work("b.csv")}));
    EXPECT_TRUE(QFile::exists(Work("a.csv")));
    EXPECT_TRUE(QFile::exists(Work("b.csv")));
    EXPECT_FALSE(QFile::exists(m_data.file("share/Trash")));
}

TEST_F(ProgramFilesTest, AFileTheTrashRefusesIsNotReportedDeleted) {
    // A plain file where the trash folder should be: nothing can be moved there.
    QDir().mkpath(m_data.file("share"));
    WriteBytes(m_data.file("share/Trash"), "");
    WriteProgram("a.csv", "900");
    WriteProgram("b.csv", "901");
    EXPECT_FALSE(store().DeleteFile("a.csv"));
    EXPECT_FALSE(store().DeleteFileAll());
    EXPECT_TRUE(QFile::exists(Work("a.csv")));
    EXPECT_TRUE(QFile::exists(Work("b.csv")));
    EXPECT_NE(DeleteToRecycleBin({Work("a.csv")}, 1), 0);
    EXPECT_TRUE(QFile::exists(Work("a.csv")));
    // Nothing is left behind in the current directory.
    EXPECT_FALSE(QFile::exists(QDir::current().filePath("files/a.csv")));
    EXPECT_FALSE(QFile::exists(QDir::current().filePath("info/a.csv.trashinfo")));
}
