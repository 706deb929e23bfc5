// mervex-meter-sim: a meter on a pseudo-terminal, for demonstrations and tests.

#include "CommandLog.h"
#include "DeviceLink.h"
#include "PtyDevice.h"
#include "SimLoop.h"
#include "engine/MeterEngine.h"
#include "engine/RecordGenerator.h"
#include "engine/SimOptions.h"

#include <QFile>
#include <csignal>
#include <cstdio>
#include <exception>
#include <stdexcept>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnStopSignal(int) {
    g_stop = 1;
}

// SIGTERM, SIGINT and SIGHUP end the emulator cleanly; they stay blocked except while the
// loop waits, so none is lost between a check and the wait.
void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigset_t blocked;
    sigemptyset(&blocked);
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
        sigaddset(&blocked, signal);
    }
    sigprocmask(SIG_BLOCK, &blocked, nullptr);
}

QList<QByteArray> DataMemory(const SimOptions& options) {
    if (options.recordsFile.isEmpty()) {
        return GenerateRecords(options.setup.model, options.records);
    }
    QFile file(options.recordsFile);
    if (!file.open(QIODevice::ReadOnly)) {
        throw std::runtime_error(QStringLiteral("cannot read %1: %2")
                                     .arg(options.recordsFile, file.errorString())
                                     .toStdString());
    }
    return RecordLines(file.readAll());
}

int Serve(SimOptions options) {
    options.setup.records = DataMemory(options);
    MeterEngine engine(options.setup);
    CatchStopSignals();
    PtyDevice pty;
    CommandLog log(options.log);
    DeviceLink link(options.link, pty.path());
    std::printf("%s\n", pty.path().toLocal8Bit().constData());
    std::fflush(stdout);
    SimLoop(pty, engine, log, options.baud).Run(g_stop);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    QString error;
    QString help;
    const std::optional<SimOptions> options = ParseSimOptions(arguments, error, help);
    if (!options) {
        if (!help.isEmpty()) {
            std::fputs(help.toLocal8Bit().constData(), stdout);
            return 0;
        }
        std::fprintf(stderr, "mervex-meter-sim: %s\n", error.toLocal8Bit().constData());
        return 2;
    }
    try {
        return Serve(*options);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "mervex-meter-sim: %s\n", failure.what());
        return 1;
    }
}
