#include "support/CliRunner.h"

#include <QProcess>

QString CliPath() {
    return QStringLiteral(MERVEX_BIN_DIR "/mervex-cli");
}

CliResult RunCli(const QStringList& args, int timeoutMs) {
    QProcess process;
    process.start(CliPath(), args);
    CliResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("timed out");
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}
