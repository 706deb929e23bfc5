#include "ui/app/CommandLine.h"

namespace {

const QString kPortOption = QStringLiteral("--port");

} // namespace

QStringList PortOptions(const QStringList& arguments) {
    QStringList ports;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == kPortOption && i + 1 < arguments.size()) {
            ports << arguments[++i];
        } else if (argument.startsWith(kPortOption + QLatin1Char('='))) {
            ports << argument.mid(kPortOption.size() + 1);
        }
    }
    return ports;
}

QStringList FileArguments(const QStringList& arguments) {
    QStringList files;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(QLatin1Char('-'))) {
            files << argument;
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == kPortOption) {
            ++i; // its device
        }
    }
    return files;
}
