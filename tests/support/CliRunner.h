#pragma once

#include <QString>
#include <QStringList>

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs the built mervex-cli with the arguments and waits (at most `timeoutMs`).
CliResult RunCli(const QStringList& args, int timeoutMs = 60000);
QString CliPath();
