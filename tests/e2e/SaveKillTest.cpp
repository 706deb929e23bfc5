// A process killed (SIGKILL) in the middle of saving a file must leave the previous file
// intact: afterwards the file holds exactly its old content or exactly one complete new
// content, never a mixture or a truncated one.

#include "app/Services.h"
#include "app/Windows1252.h"
#include "support/SaveLoop.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using SaveLoop::Kind;

constexpr int kRunMs = 60000;
constexpr unsigned long kPollUs = 200;

// When to kill: once the n-th save seen has written this share of the file. A share of 1
// is a file written completely but not yet put in place.
struct KillPoint {
    std::size_t save;
    double share;
};
const KillPoint kKillPoints[] = {{1, 0.0}, {1, 0.5}, {1, 1.0}, {2, 0.25}, {2, 1.0}};

// A file being written by the saving process in the target's folder: the temporary file
// of an atomic save (named or unnamed), found through the process's open descriptors.
struct PendingSave {
    ino_t inode = 0;
    qint64 size = 0;
};

std::optional<PendingSave> FindPendingSave(qint64 pid, const QString& folder) {
    const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
    const QByteArray prefix = QFile::encodeName(folder) + '/';
    for (const QString& fd : QDir(fds).entryList(QDir::Files | QDir::System)) {
        const QByteArray path = QFile::encodeName(fds + QLatin1Char('/') + fd);
        char target[4096];
        const ssize_t length = readlink(path.constData(), target, sizeof target);
        struct stat info {};
        if (length > 0 && QByteArray(target, length).startsWith(prefix) &&
            stat(path.constData(), &info) == 0 && S_ISREG(info.st_mode)) {
            return PendingSave{info.st_ino, info.st_size};
        }
    }
    return std::nullopt;
}

// mervex-save-loop, killed at the latest when the object goes.
class Saver {
public:
    Saver(Kind kind, int firstGeneration, const QString& target) {
        m_process.start(QStringLiteral(MERVEX_BIN_DIR "/mervex-save-loop"),
                        {SaveLoop::KindName(kind), QString::number(firstGeneration), target});
        m_process.waitForStarted();
    }
    ~Saver() { Kill(); }
    Saver(const Saver&) = delete;
    Saver& operator=(const Saver&) = delete;

    qint64 pid() const { return m_process.processId(); }
    bool running() const { return m_process.state() == QProcess::Running; }
    QString errors() { return QString::fromLocal8Bit(m_process.readAllStandardError()); }
    void Kill() {
        if (running()) {
            ::kill(static_cast<pid_t>(pid()), SIGKILL);
            m_process.waitForFinished();
        }
    }

private:
    QProcess m_process;
};

// Runs the saver until the kill point, then kills it. False when the point was never
// reached (the saver failed or the time ran out).
bool KillAt(Saver& saver, const QString& folder, qint64 fullSize, const KillPoint& point) {
    std::set<ino_t> saves;
    const QDeadlineTimer deadline(kRunMs);
    while (saver.running() && !deadline.hasExpired()) {
        if (const std::optional<PendingSave> pending = FindPendingSave(saver.pid(), folder)) {
            saves.insert(pending->inode);
            if (saves.size() >= point.save && pending->size >= point.share * double(fullSize)) {
                saver.Kill();
                return true;
            }
        }
        QThread::usleep(kPollUs);
    }
    return false;
}

class SaveKillTest : public ::testing::Test {
protected:
    // The complete file of generation g, as the program writes it.
    using Expected = std::function<QByteArray(int generation)>;

    enum class Outcome { Kept, Replaced, Broken };

    // Kept: the old bytes; Replaced: exactly one complete generation from `first` on.
    static Outcome Classify(const QByteArray& before, const QByteArray& after, int first,
                            const Expected& expected) {
        if (after == before) {
            return Outcome::Kept;
        }
        const int generation = SaveLoop::GenerationOf(after);
        // Compared as a whole, never printed: the files are megabytes long.
        return generation >= first && after == expected(generation) ? Outcome::Replaced
                                                                    : Outcome::Broken;
    }

    // Saves generation 0, then kills the saver at each kill point and checks the target
    // every time.
    void KillDuringSaves(Kind kind, const QString& target, const Expected& expected) {
        ASSERT_TRUE(SaveLoop::Save(services, kind, target, 0));
        ASSERT_TRUE(ReadBytes(target) == expected(0));
        const QString folder = QFileInfo(target).absolutePath();
        const qint64 fullSize = expected(0).size();
        int kept = 0;
        int replaced = 0;
        int firstGeneration = 0;
        for (const KillPoint& point : kKillPoints) {
            SCOPED_TRACE(testing::Message() << "save " << point.save << ", share " << point.share);
            firstGeneration += 100;
            const QByteArray before = ReadBytes(target);
            Saver saver(kind, firstGeneration, target);
            ASSERT_TRUE(KillAt(saver, folder, fullSize, point)) << saver.errors().toStdString();

            const Outcome outcome = Classify(before, ReadBytes(target), firstGeneration, expected);
            ASSERT_NE(outcome, Outcome::Broken) << "neither the old file nor a complete new one";
            // A later save can only start once an earlier one has been put in place.
            EXPECT_TRUE(outcome == Outcome::Replaced || point.save == 1);
            ++(outcome == Outcome::Kept ? kept : replaced);
        }
        // Both outcomes occurred, so the kills did land inside saves and the check of a
        // complete new file did run.
        EXPECT_GE(kept, 1);
        EXPECT_GE(replaced, 1);
        // What an interrupted save leaves behind never passes for a file of that kind.
        const QString suffix = QStringLiteral("*.") + QFileInfo(target).suffix();
        EXPECT_EQ(QDir(folder).entryList({suffix}, QDir::Files),
                  QStringList{QFileInfo(target).fileName()});
    }

    // The file of each generation as the same save writes it into another folder.
    Expected SavedElsewhere(Kind kind) {
        return [this, kind, cache = std::map<int, QByteArray>()](int generation) mutable {
            if (!cache.count(generation)) {
                TempDir elsewhere;
                const QString path = elsewhere.file(QStringLiteral("expected.csv"));
                EXPECT_TRUE(SaveLoop::Save(services, kind, path, generation));
                cache[generation] = ReadBytes(path);
            }
            return cache[generation];
        };
    }

    ScriptedUi ui;
    Services services{ui, SaveLoop::Link()};
    TempDir dir;
};

TEST_F(SaveKillTest, DatasetFileSurvivesAKilledSave) {
    const QString target = dir.file(QStringLiteral("Messwerte.csv"));
    KillDuringSaves(Kind::Dataset, target, SavedElsewhere(Kind::Dataset));

    // What is left opens as a dataset of one generation.
    MValSet set;
    ASSERT_EQ(services.measVal.OpenFile(set, target), CMeasVal::kOpened);
    EXPECT_EQ(set.strSerNo, SaveLoop::Tag(SaveLoop::GenerationOf(ReadBytes(target))));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join(u'\n').toStdString();
}

TEST_F(SaveKillTest, ProgramFileSurvivesAKilledSave) {
    const QString target = dir.file(QStringLiteral("Nitrat.csv"));
    KillDuringSaves(Kind::Program, target, SavedElsewhere(Kind::Program));

    // The work directory lists the program file and it reads as one generation.
    services.usrDefProg.WorkDir(dir.path());
    QStringList numbers(CUsrDefProg::kMaxPrograms);
    QStringList names(CUsrDefProg::kMaxPrograms);
    short count = 0;
    ASSERT_TRUE(services.usrDefProg.ListPC(numbers, names, count));
    ASSERT_EQ(count, 1);
    EXPECT_EQ(numbers[0], SaveLoop::ProgramNumber());
    ProgramRecord program = EmptyProgramRecord();
    ASSERT_TRUE(services.usrDefProg.ReadFromFile(program, names[0]));
    EXPECT_TRUE(program[ProgramField::FORM].startsWith(
        SaveLoop::Tag(SaveLoop::GenerationOf(ReadBytes(target)))));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join(u'\n').toStdString();
}

TEST_F(SaveKillTest, ProtocolFileSurvivesAKilledSave) {
    const QString target = dir.file(QStringLiteral("Protokoll.csv"));
    KillDuringSaves(Kind::Protocol, target, SavedElsewhere(Kind::Protocol));

    // What is left reads as a protocol of one generation.
    ASSERT_TRUE(services.calProtocol.ReadFromFile(target));
    QString lotTotal;
    QString expiry;
    QString manufacturer;
    QStringList lots;
    ASSERT_TRUE(services.calProtocol.GetChargeID(lotTotal, expiry, manufacturer, lots));
    EXPECT_TRUE(lotTotal.startsWith(SaveLoop::Tag(SaveLoop::GenerationOf(ReadBytes(target)))));
    EXPECT_EQ(manufacturer, QStringLiteral("Étalons & Cie"));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join(u'\n').toStdString();
}

TEST_F(SaveKillTest, ConfigFileSurvivesAKilledSave) {
    const QString target = services.config.ConfigFilePath();
    const Expected expected = [](int generation) {
        return Windows1252::Encode(QStringLiteral("Dir = ") + SaveLoop::WorkDirOf(generation));
    };
    KillDuringSaves(Kind::Config, target, expected);

    EXPECT_EQ(services.config.WorkDir(),
              SaveLoop::WorkDirOf(SaveLoop::GenerationOf(ReadBytes(target))));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join(u'\n').toStdString();
}

} // namespace
