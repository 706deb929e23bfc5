#include "support/MeterSim.h"

#include "app/Windows1252.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <csignal>
#include <sys/prctl.h>

namespace {

constexpr int kStartMs = 10000;
constexpr int kStopMs = 5000;

QString LogPath(const QTemporaryDir& dir) {
    return dir.filePath(QStringLiteral("commands.log"));
}

} // namespace

MeterSim::MeterSim(const QStringList& args)
    : m_dir(QDir::tempPath() + QStringLiteral("/mervex-sim-XXXXXX")) {
    // Should the test program die without running destructors, the emulator goes with it.
    m_process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start(QStringLiteral(MERVEX_BIN_DIR "/mervex-meter-sim"),
                    QStringList(args) << QStringLiteral("--log") << LogPath(m_dir));
    const QDeadlineTimer deadline(kStartMs);
    while (!m_process.canReadLine() && m_process.state() != QProcess::NotRunning &&
           !deadline.hasExpired()) {
        m_process.waitForReadyRead(static_cast<int>(deadline.remainingTime()));
    }
    if (m_process.canReadLine()) {
        m_device = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    }
}

MeterSim::~MeterSim() {
    if (m_process.state() == QProcess::NotRunning) {
        return;
    }
    m_process.terminate();
    if (!m_process.waitForFinished(kStopMs)) {
        m_process.kill();
        m_process.waitForFinished();
    }
}

QStringList MeterSim::log() const {
    QFile file(LogPath(m_dir));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList lines = Windows1252::Decode(file.readAll()).split(QLatin1Char('\n'));
    lines.removeLast(); // the text after the last line break: empty, or a line still coming
    return lines;
}

QString MeterSim::errors() const {
    return QString::fromLocal8Bit(m_process.readAllStandardError());
}
