#include "support/MeterSim.h"
#include "support/TempDir.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSerialPort>
#include <gtest/gtest.h>

namespace {

const QByteArray kOk = QByteArrayLiteral("\r\n!\r\n>");
const QByteArray kRefused = QByteArrayLiteral("\r\n?\r\n>");

// The emulator's device opened the way the program opens a meter's port.
class Port {
public:
    Port(const QString& device, int baud) : m_port(device) {
        m_port.setBaudRate(baud);
        m_port.setDataBits(QSerialPort::Data8);
        m_port.setParity(QSerialPort::NoParity);
        m_port.setStopBits(QSerialPort::OneStop);
        m_port.setFlowControl(QSerialPort::HardwareControl);
        opened = m_port.open(QIODevice::ReadWrite);
    }

    void Send(const QByteArray& command) {
        m_port.write(command + "\r\n");
        m_port.waitForBytesWritten(1000);
    }

    // What arrives until a terminator ends it or `ms` have passed.
    QByteArray Collect(int ms) {
        QByteArray answer;
        const QDeadlineTimer deadline(ms);
        while (!answer.endsWith(kOk) && !answer.endsWith(kRefused) && !deadline.hasExpired()) {
            m_port.waitForReadyRead(
                static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)));
            answer += m_port.readAll();
        }
        return answer;
    }

    QByteArray Ask(const QByteArray& command, int ms = 5000) {
        Send(command);
        return Collect(ms);
    }

    QSerialPort& port() { return m_port; }
    bool opened = false;

private:
    QSerialPort m_port;
};

// Waits until the emulator has logged `count` lines, reading the port meanwhile.
bool LogReaches(const MeterSim& sim, Port& port, int count) {
    const QDeadlineTimer deadline(5000);
    while (sim.log().size() < count && !deadline.hasExpired()) {
        port.port().waitForReadyRead(20);
    }
    return sim.log().size() >= count;
}

TEST(MeterSimDevice, AnswersOnlyAtItsOwnLineSpeed) {
    MeterSim sim({QStringLiteral("--baud"), QStringLiteral("4800")});
    ASSERT_TRUE(sim.running()) << sim.errors().toStdString();
    Port port(sim.device(), 9600);
    ASSERT_TRUE(port.opened) << port.port().errorString().toStdString();

    port.Send("U.400");
    // The line did arrive, and still nothing comes back.
    ASSERT_TRUE(LogReaches(sim, port, 1));
    EXPECT_EQ(port.Collect(300), QByteArray());

    port.port().setBaudRate(4800);
    EXPECT_EQ(port.Ask("U.400"), kOk);
    EXPECT_EQ(sim.log(), (QStringList{"U.400", "U.400"}));
}

TEST(MeterSimDevice, IdentifiesItselfAndSurvivesAReopen) {
    MeterSim sim({QStringLiteral("--model"), QStringLiteral("Ardel 20 T"),
                  QStringLiteral("--serial"), QStringLiteral("A20-0042"), QStringLiteral("--baud"),
                  QStringLiteral("19200")});
    ASSERT_TRUE(sim.running()) << sim.errors().toStdString();
    {
        Port port(sim.device(), 19200);
        ASSERT_TRUE(port.opened);
        EXPECT_EQ(port.Ask("U.595"), QByteArray("\r\nArdel 20 T\r\n!\r\n>"));
    }
    // The port search closes and opens the device again and again.
    Port again(sim.device(), 19200);
    ASSERT_TRUE(again.opened) << again.port().errorString().toStdString();
    EXPECT_EQ(again.Ask("U.596"), QByteArray("\r\nA20-0042\r\n!\r\n>"));
    EXPECT_EQ(again.Ask("U.512"), kRefused);
}

TEST(MeterSimDevice, DataMemoryTakesTheTimeTheLineNeeds) {
    MeterSim sim({QStringLiteral("--records"), QStringLiteral("12")});
    ASSERT_TRUE(sim.running());
    Port port(sim.device(), 4800);
    ASSERT_TRUE(port.opened);
    QElapsedTimer clock;
    clock.start();
    const QByteArray answer = port.Ask("U.581", 10000);
    const qint64 elapsed = clock.elapsed();
    ASSERT_TRUE(answer.startsWith("\r\n1;") && answer.endsWith(kOk)) << answer.data();
    EXPECT_EQ(answer.count("\r\n"), 12 + 2);
    // 4800 baud carry 480 characters a second.
    EXPECT_GE(elapsed, answer.size() * 1000 / 480 * 9 / 10);
}

TEST(MeterSimDevice, FaultsAndRecordFileReachTheLine) {
    TempDir dir;
    WriteBytes(dir.file("memory.txt"), "1;01.02.24;10:00:00;7;0.51;NTU;OK;;;\r\n");
    MeterSim sim({QStringLiteral("--model"), QStringLiteral("Ardel 20 IR"),
                  QStringLiteral("--records-file"), dir.file("memory.txt"),
                  QStringLiteral("--fault"), QStringLiteral("delay-ms:400"),
                  QStringLiteral("--fault"), QStringLiteral("silent:U.597"),
                  QStringLiteral("--fault"), QStringLiteral("refuse:U.596")});
    ASSERT_TRUE(sim.running()) << sim.errors().toStdString();
    Port port(sim.device(), 4800);
    ASSERT_TRUE(port.opened);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(port.Ask("U.581"), QByteArray("\r\n1;01.02.24;10:00:00;7;0.51;NTU;OK;;;\r\n!\r\n>"));
    EXPECT_GE(clock.elapsed(), 400);
    EXPECT_EQ(port.Ask("U.596"), kRefused);
    port.Send("U.597");
    ASSERT_TRUE(LogReaches(sim, port, 3));
    EXPECT_EQ(port.Collect(700), QByteArray());
}

TEST(MeterSimDevice, AbortCommandCutsALongTransferShort) {
    // About 30 s of data memory at 4800 baud.
    MeterSim sim({QStringLiteral("--records"), QStringLiteral("200")});
    ASSERT_TRUE(sim.running());
    Port port(sim.device(), 4800);
    ASSERT_TRUE(port.opened);
    port.Send("U.581");
    const QByteArray started = port.Collect(300);
    ASSERT_TRUE(started.startsWith("\r\n1;")) << started.data();
    QElapsedTimer clock;
    clock.start();
    const QByteArray rest = port.Ask("U.999", 5000);
    EXPECT_TRUE(rest.endsWith(kOk)) << rest.data();
    EXPECT_LT(clock.elapsed(), 2000);
    // The line is quiet afterwards: the rest of the memory is not sent.
    EXPECT_EQ(port.Collect(300), QByteArray());
}

TEST(MeterSimDevice, LinkPointsAtTheDeviceWhileItRuns) {
    TempDir dir;
    const QString link = dir.file("meter");
    {
        MeterSim sim({QStringLiteral("--link"), link});
        ASSERT_TRUE(sim.running());
        EXPECT_EQ(QFileInfo(link).symLinkTarget(), sim.device());
        Port port(link, 4800);
        ASSERT_TRUE(port.opened);
        EXPECT_EQ(port.Ask("U.400"), kOk);
    }
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST(MeterSimDevice, ABadOptionEndsTheEmulatorWithoutADevice) {
    MeterSim sim({QStringLiteral("--fault"), QStringLiteral("explode")});
    EXPECT_TRUE(sim.device().isEmpty());
    EXPECT_FALSE(sim.running());
    EXPECT_TRUE(sim.errors().contains(QStringLiteral("explode")));
}

} // namespace
