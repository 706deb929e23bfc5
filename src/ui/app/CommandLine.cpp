#include "ui/app/CommandLine.h"

QStringList PortOptions(const QStringList& arguments) {
    const QString option = QStringLiteral("--port");
    QStringList ports;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == option && i + 1 < arguments.size()) {
            ports << arguments[++i];
        } else if (argument.startsWith(option + QLatin1Char('='))) {
            ports << argument.mid(option.size() + 1);
        }
    }
    return ports;
}
