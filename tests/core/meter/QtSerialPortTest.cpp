#include "meter/QtSerialPort.h"

#include "meter/SerialLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QElapsedTimer>
#include <QFile>
#include <ctime>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A pseudo-terminal whose far end the test plays.
class Pty {
public:
    Pty() {
        char name[128] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0) {
            device = QString::fromLocal8Bit(name);
        }
    }
    ~Pty() {
        CloseMaster();
        if (slave >= 0) {
            close(slave);
        }
    }
    void CloseMaster() {
        if (master >= 0) {
            close(master);
            master = -1;
        }
    }
    QByteArray Read(qsizetype count) {
        QByteArray bytes(count, '\0');
        qsizetype got = 0;
        while (got < count) {
            const ssize_t n = read(master, bytes.data() + got, static_cast<size_t>(count - got));
            if (n <= 0) {
                break;
            }
            got += n;
        }
        return bytes.left(got);
    }
    // What has arrived so far, without waiting.
    QByteArray ReadAvailable() {
        QByteArray bytes;
        pollfd fd{master, POLLIN, 0};
        char buffer[256];
        while (poll(&fd, 1, 0) > 0 && (fd.revents & POLLIN)) {
            const ssize_t n = read(master, buffer, sizeof buffer);
            if (n <= 0) {
                break;
            }
            bytes.append(buffer, n);
        }
        return bytes;
    }
    // Plays a meter that answers every whole command line with the OK terminator.
    void AnswerCommands() {
        m_pending += ReadAvailable();
        while (m_pending.contains("\r\n")) {
            m_pending.remove(0, m_pending.indexOf("\r\n") + 2);
            Write("\r\n!\r\n>");
        }
    }
    void Write(const QByteArray& bytes) {
        ASSERT_EQ(write(master, bytes.constData(), static_cast<size_t>(bytes.size())),
                  bytes.size());
    }

    int master = -1;
    int slave = -1; // held so the device stays usable while nobody else has it open
    QString device;

private:
    QByteArray m_pending;
};

// A fixed path (like a USB adapter's name) that can be pointed at another device.
void PointAt(const QString& path, const Pty& pty) {
    QFile::remove(path);
    ASSERT_TRUE(QFile::link(pty.device, path));
}

double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace

TEST(QtSerialPort, TalksWindows1252AtTheConfiguredRate) {
    Pty pty;
    ASSERT_FALSE(pty.device.isEmpty());
    QtSerialPort port;
    ASSERT_TRUE(port.Open(pty.device)) << port.ErrorString().toStdString();
    ASSERT_TRUE(port.Configure(QStringLiteral("2400")));
    termios line{};
    ASSERT_EQ(tcgetattr(pty.master, &line), 0);
    EXPECT_EQ(cfgetospeed(&line), B2400);

    ASSERT_TRUE(port.Write(QStringLiteral("Unité\r\n")));
    EXPECT_EQ(pty.Read(7), QByteArray("Unit\xE9\r\n"));

    pty.Write("20\xB0"
              "C");
    QString text;
    QElapsedTimer clock;
    clock.start();
    while (text.size() < 4 && clock.elapsed() < 5000) {
        port.WaitForData(50);
        text += port.ReadAll();
    }
    EXPECT_EQ(text, QStringLiteral("20°C"));
    EXPECT_FALSE(port.Configure(QStringLiteral("fast")));
    port.Close();
    EXPECT_FALSE(port.IsOpen());
}

TEST(QtSerialPort, OpenFailuresSayWhy) {
    QtSerialPort port;
    EXPECT_FALSE(port.Open(QStringLiteral("/dev/no-such-port")));
    EXPECT_EQ(port.Error(), SerialPortError::NotFound);
    EXPECT_FALSE(port.ErrorString().isEmpty());
    // Not a terminal at all.
    EXPECT_FALSE(port.Open(QStringLiteral("/dev/null")));
    EXPECT_NE(port.Error(), SerialPortError::None);
    EXPECT_FALSE(port.ErrorString().isEmpty());
}

TEST(QtSerialPort, WaitOnAVanishedDeviceDoesNotSpin) {
    Pty pty;
    ASSERT_FALSE(pty.device.isEmpty());
    ScriptedUi ui;
    SerialLink link(ui, PortCatalogue({pty.device}, true), MakeQtSerialPort);
    ASSERT_TRUE(link.COMInit(1, QStringLiteral("4800"), 1));
    pty.CloseMaster();
    const double cpuBefore = CpuSeconds();
    QString answer;
    EXPECT_FALSE(link.COMSendAndReceive(QStringLiteral("U.400\r\n"), answer));
    EXPECT_TRUE(answer.isEmpty());
    EXPECT_LT(CpuSeconds() - cpuBefore, 0.2); // of two one-second waits
}

TEST(QtSerialPort, FarEndClosingMidAnswerEndsALongWaitAtOnce) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("meter"));
    Pty first;
    PointAt(path, first);
    ScriptedUi ui;
    SerialLink link(ui, PortCatalogue({path}, true), MakeQtSerialPort);
    ASSERT_TRUE(link.COMInit(1, QStringLiteral("4800"), 600));
    ui.onYield = [&] {
        if (ui.yields == 1) {
            first.Write("\r\n1;07/12/26;09:05:03");
        } else if (ui.yields == 5) {
            first.CloseMaster();
        }
    };
    QElapsedTimer clock;
    clock.start();
    QString answer;
    EXPECT_FALSE(link.COMSendAndReceive(QStringLiteral("U.581\r\n"), answer));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(answer.isEmpty());
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].text.contains(path)) << ui.messages[0].text.toStdString();
    ASSERT_TRUE(link.COMDeinit());

    // Another device behind the same path: the next conversation opens it.
    Pty second;
    PointAt(path, second);
    ui.onYield = [&] { second.AnswerCommands(); };
    ASSERT_TRUE(link.COMInit(1, QStringLiteral("4800"), 4));
    EXPECT_TRUE(link.COMSendAndReceive(QStringLiteral("U.400\r\n"), answer));
    EXPECT_EQ(answer, QStringLiteral("\r\n!\r\n>"));
    EXPECT_EQ(ui.messages.size(), 1);
}

TEST(QtSerialPort, DeviceReplacedWhileIdleIsOpenedAfreshWithoutAComplaint) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("meter"));
    auto first = std::make_unique<Pty>();
    PointAt(path, *first);
    ScriptedUi ui;
    SerialLink link(ui, PortCatalogue({path}, true), MakeQtSerialPort);
    ui.onYield = [&] { first->AnswerCommands(); };
    QString answer;
    ASSERT_TRUE(link.COMInit(1, QStringLiteral("4800"), 4));
    ASSERT_TRUE(link.COMSendAndReceive(QStringLiteral("U.400\r\n"), answer));
    ASSERT_TRUE(link.COMDeinit());

    // Unplugged and plugged in again between two conversations, the port left open.
    Pty second;
    ui.onYield = [&] { second.AnswerCommands(); };
    first.reset();
    PointAt(path, second);
    ASSERT_TRUE(link.COMInit(1, QStringLiteral("4800"), 4));
    EXPECT_TRUE(link.COMSendAndReceive(QStringLiteral("U.400\r\n"), answer));
    EXPECT_EQ(answer, QStringLiteral("\r\n!\r\n>"));
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.MessageTexts().join(u'\n').toStdString();
}
