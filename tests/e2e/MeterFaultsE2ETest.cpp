// A meter that misbehaves during an exchange, over the emulator's real device: the
// operation fails within the answer time instead of hanging, and the link serves the next
// operation again.

#include "RecordingSerialPort.h"
#include "app/Services.h"
#include "app/TextTables.h"
#include "meter/SerialLink.h"
#include "support/CliRunner.h"
#include "support/MeterSim.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString kOk = QStringLiteral("\r\n!\r\n>");
// The answer time of every conversation but the data transfer.
constexpr qint64 kAnswerTimeMs = 4000;
// A data memory that takes about 30 s to send at 4800 baud: long enough to act in the middle.
const QStringList kLongMemory = {QStringLiteral("--records"), QStringLiteral("200")};
const QByteArray kRecords =
    "1;07/12/26;09:05:03;17;101;PO4;AR;1:1;0.42;mg/l;OK;;;;01/12/26;08:00\r\n"
    "2;07/12/26;09:06:10;18;101;PO4;;1:1;1.25;\xB5g/l;OK;;;;01/12/26;08:00";

QString MemoryAnswer() {
    return QStringLiteral("\r\n") + QString::fromLatin1(kRecords) + kOk;
}

// The desktop program's services on a serial link to one fixed device path (as a meter on
// a USB adapter has), behind which the test starts, stops and replaces emulators.
class MeterFaults : public ::testing::Test {
protected:
    void StartMeter(QStringList args) {
        sim.reset(); // the previous meter goes first: its device vanishes
        sim = std::make_unique<MeterSim>(args << QStringLiteral("--link") << path);
        ASSERT_TRUE(sim->running()) << sim->errors().toStdString();
    }

    // A meter whose data memory is kRecords.
    void StartGoodMeter(const QStringList& faults = {}) {
        WriteBytes(dir.file(QStringLiteral("memory.txt")), kRecords);
        StartMeter(
            QStringList{QStringLiteral("--records-file"), dir.file(QStringLiteral("memory.txt"))}
            << faults);
    }

    bool Search() {
        QString model;
        QString serial;
        return services.device.Recognise(model, serial, false) == 0;
    }

    void SignalMeter(int signal) { ::kill(static_cast<pid_t>(sim->pid()), signal); }

    // Kills the emulator the first time `marker` has come over the line from now on.
    void KillMeterOnceReceived(const QString& marker) {
        received.clear();
        ui.onYield = [this, marker, killed = false]() mutable {
            if (!killed && received.contains(marker)) {
                killed = true;
                SignalMeter(SIGKILL);
            }
        };
    }

    // Imports and checks that the data memory of a good meter arrived whole.
    void ExpectImportWorks() {
        ui.onYield = nullptr;
        QString memory;
        EXPECT_TRUE(services.importMVal.GetMVals(memory));
        EXPECT_EQ(memory, MemoryAnswer());
    }

    // Runs `operation` against a meter (`meter` options, answering one character at a time)
    // whose device vanishes once `marker` has come in: the operation fails at once and says
    // why. Then a good meter of the same kind stands behind the same path.
    void ExpectFailsAtOnceWhenVanishing(const QStringList& meter, const QString& marker,
                                        const std::function<bool()>& operation) {
        StartMeter(QStringList(meter) << QStringLiteral("--fault") << QStringLiteral("chunk:1"));
        ASSERT_TRUE(Search());
        KillMeterOnceReceived(marker);
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(operation());
        EXPECT_LT(clock.elapsed(), kAnswerTimeMs);
        EXPECT_EQ(LossMessages(), 1);
        StartMeter(meter);
        ui.onYield = nullptr;
    }

    int LossMessages() const {
        return static_cast<int>(ui.MessageTexts().filter(QStringLiteral("a disparu")).size());
    }

    TempDir dir;
    const QString path = dir.file(QStringLiteral("meter"));
    QString received;
    ScriptedUi ui;
    Services services{ui, std::make_unique<SerialLink>(ui, PortCatalogue({path}, true), [this] {
                          return std::make_unique<RecordingSerialPort>(MakeQtSerialPort(),
                                                                       received);
                      })};
    std::unique_ptr<MeterSim> sim;
};

TEST_F(MeterFaults, DeviceVanishingInTheMiddleOfTheTransferFailsAtOnce) {
    StartMeter(kLongMemory);
    ASSERT_TRUE(Search());
    KillMeterOnceReceived(QStringLiteral("\r\n1;"));
    QElapsedTimer clock;
    clock.start();
    QString memory = QStringLiteral("old");
    EXPECT_FALSE(services.importMVal.GetMVals(memory));
    // The transfer may take 600 s; a vanished device ends it now.
    EXPECT_LT(clock.elapsed(), kAnswerTimeMs);
    EXPECT_TRUE(memory.isEmpty());
    ASSERT_EQ(ui.messages.size(), 1) << ui.MessageTexts().join(u'\n').toStdString();
    EXPECT_TRUE(ui.messages[0].text.contains(path));
    EXPECT_EQ(ui.messages[0].title, LoadResString(1033));

    // Plugged in again behind the same path: the next import works without a new search,
    // and so do a search and an import.
    StartGoodMeter();
    ExpectImportWorks();
    ASSERT_TRUE(Search());
    ExpectImportWorks();
    EXPECT_EQ(ui.messages.size(), 1);
}

TEST_F(MeterFaults, MeterFallingSilentInTheTransferIsAbortedWhenTheWaitIsClosed) {
    StartMeter({QStringLiteral("--records"), QStringLiteral("40"), QStringLiteral("--baud"),
                QStringLiteral("19200")});
    ASSERT_TRUE(Search());
    // The meter stops sending in the middle of the memory; nothing arrives any more. The
    // user closes the wait dialog (which stops the link) and the meter comes back to life.
    received.clear();
    bool stalled = false;
    bool closed = false;
    int silentPolls = 0;
    qsizetype lastSize = 0;
    ui.onYield = [&] {
        if (!stalled && received.contains(QStringLiteral("\r\n1;"))) {
            stalled = true;
            SignalMeter(SIGSTOP);
        }
        silentPolls = received.size() == lastSize ? silentPolls + 1 : 0;
        lastSize = received.size();
        if (stalled && !closed && silentPolls >= 50) {
            closed = true;
            services.link().COMStop();
            SignalMeter(SIGCONT);
        }
    };
    QString memory;
    EXPECT_FALSE(services.importMVal.GetMVals(memory));
    EXPECT_TRUE(closed);
    EXPECT_TRUE(memory.isEmpty());
    EXPECT_TRUE(ui.messages.isEmpty());
    // The meter was told to drop the rest of the transfer ...
    ASSERT_FALSE(sim->log().isEmpty());
    EXPECT_EQ(sim->log().back(), QStringLiteral("U.999"));

    // ... so the next import gets the whole memory from its start, nothing left over.
    ui.onYield = nullptr;
    ASSERT_TRUE(services.importMVal.GetMVals(memory));
    EXPECT_TRUE(memory.startsWith(QStringLiteral("\r\n1;")));
    EXPECT_TRUE(memory.endsWith(kOk));
    EXPECT_EQ(memory.count(QStringLiteral("\r\n")), 40 + 2);
}

TEST_F(MeterFaults, NoiseAfterTheTerminatorNeverMixesIntoAnAnswerNorHangs) {
    StartMeter({QStringLiteral("--fault"), QStringLiteral("garbage-after")});
    // Whether the noise arrives in the same read as the terminator (the answer then runs
    // into its time-out) or after it (the answer is complete and the noise is discarded
    // before the next command) depends on the moment of each read. Either way the result
    // is exact or a failure within the answer time.
    MeterLink& link = services.link();
    ASSERT_TRUE(link.COMInit(1, QStringLiteral("4800"), 1));
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer clock;
        clock.start();
        QString answer = QStringLiteral("old");
        if (link.COMSendAndReceive(QStringLiteral("U.400\r\n"), answer)) {
            EXPECT_EQ(answer, kOk) << "round " << round;
        } else {
            EXPECT_TRUE(answer.isEmpty());
            EXPECT_LT(clock.elapsed(), 2 * 1000 + 1500) << "two attempts of 1 s";
        }
    }
    ASSERT_TRUE(link.COMDeinit());
    EXPECT_TRUE(ui.messages.isEmpty());

    // The meter replaced while the port stayed open: the next import works.
    StartGoodMeter();
    ExpectImportWorks();
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join(u'\n').toStdString();
}

TEST_F(MeterFaults, AnswersInSingleCharactersAreJoined) {
    StartGoodMeter({QStringLiteral("--fault"), QStringLiteral("chunk:1")});
    ASSERT_TRUE(Search());
    ExpectImportWorks();
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(MeterFaults, DeviceVanishingDuringAProgramUpdateFailsAtOnce) {
    const QStringList meter = {QStringLiteral("--programs"), QStringLiteral("3")};
    CUsrDefProg& store = services.usrDefProg;
    ExpectFailsAtOnceWhenVanishing(meter, QStringLiteral("900;"), [&] { return store.Update(); });
    QStringList numbers(CUsrDefProg::kMaxPrograms);
    short count = -1;
    ASSERT_TRUE(store.ListMeter(numbers, count));
    EXPECT_EQ(count, 0);

    ASSERT_TRUE(store.Update());
    ASSERT_TRUE(store.ListMeter(numbers, count));
    EXPECT_EQ(numbers.mid(0, count), (QStringList{"900", "901", "902"}));
    EXPECT_EQ(LossMessages(), 1);
}

TEST_F(MeterFaults, DeviceVanishingDuringAProtocolFetchFailsAtOnce) {
    const QStringList meter = {QStringLiteral("--model"), QStringLiteral("Ardel 20 T")};
    CCalProtocol& protocol = services.calProtocol;
    ExpectFailsAtOnceWhenVanishing(meter, QStringLiteral("585,"),
                                   [&] { return protocol.UpdateFromMeter(false, false); });
    EXPECT_FALSE(protocol.IsProtocolValid());

    ASSERT_TRUE(protocol.UpdateFromMeter(false, false));
    EXPECT_TRUE(protocol.IsProtocolValid());
    short year = 0;
    short month = 0;
    short day = 0;
    ASSERT_TRUE(protocol.GetProtocolDate(year, month, day));
    EXPECT_EQ(QDate(year, month, day), QDate(2024, 3, 12));
    EXPECT_EQ(LossMessages(), 1);
}

// A meter that says nothing to one command: the operation gives up within the answer time
// (the link tries twice), keeps nothing of a half result, and the same meter serves the next
// operation.
TEST_F(MeterFaults, SilenceToAProgramOrProtocolCommandEndsWithinTheAnswerTime) {
    const auto expectGivesUp = [&](const std::function<bool()>& operation) {
        QElapsedTimer clock;
        clock.start();
        EXPECT_FALSE(operation());
        EXPECT_LT(clock.elapsed(), 2 * kAnswerTimeMs + 1500);
        ExpectImportWorks();
    };

    StartGoodMeter({QStringLiteral("--programs"), QStringLiteral("3"), QStringLiteral("--fault"),
                    QStringLiteral("silent:U.512")});
    ASSERT_TRUE(Search());
    CUsrDefProg& store = services.usrDefProg;
    expectGivesUp([&] { return store.Update(); });
    QStringList numbers(CUsrDefProg::kMaxPrograms);
    short count = -1;
    ASSERT_TRUE(store.ListMeter(numbers, count));
    EXPECT_EQ(count, 0);

    StartGoodMeter({QStringLiteral("--model"), QStringLiteral("Ardel 20 T"),
                    QStringLiteral("--fault"), QStringLiteral("silent:U.585")});
    ASSERT_TRUE(Search());
    CCalProtocol& protocol = services.calProtocol;
    expectGivesUp([&] { return protocol.UpdateFromMeter(false, false); });
    EXPECT_FALSE(protocol.IsProtocolValid());
}

TEST_F(MeterFaults, CommandLineImportKeepsThePreviousFileWhenTheMeterVanishes) {
    StartMeter(kLongMemory);
    const QString out = dir.file(QStringLiteral("out.csv"));
    const QByteArray previous = "METER;S/N;USER;DATE;TIME\r\nthe previous dataset";
    WriteBytes(out, previous);
    QProcess cli;
    cli.start(CliPath(), {QStringLiteral("--port"), path, QStringLiteral("import"), out});
    // Kill the meter once the transfer has been asked for.
    const QDeadlineTimer deadline(60000);
    while (!sim->log().contains(QStringLiteral("U.581")) && !deadline.hasExpired() &&
           !cli.waitForFinished(20)) {
    }
    ASSERT_TRUE(sim->log().contains(QStringLiteral("U.581")))
        << cli.readAllStandardError().toStdString();
    SignalMeter(SIGKILL);
    ASSERT_TRUE(cli.waitForFinished(static_cast<int>(kAnswerTimeMs)));
    EXPECT_EQ(cli.exitCode(), 1);
    const QStringList lines =
        QString::fromUtf8(cli.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines[0].contains(path));
    EXPECT_EQ(lines[1], LoadResString(1036));
    EXPECT_EQ(ReadBytes(out), previous);
}

} // namespace
