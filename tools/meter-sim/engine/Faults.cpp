#include "engine/Faults.h"

namespace {

// Sets `value` only when the text is a whole number above 0.
bool PositiveNumber(const QString& text, int& value) {
    bool ok = false;
    const int number = text.toInt(&ok);
    if (!ok || number <= 0) {
        return false;
    }
    value = number;
    return true;
}

} // namespace

bool Faults::Add(const QString& option, QString& error) {
    const QString kind = option.section(QLatin1Char(':'), 0, 0);
    const QString value = option.section(QLatin1Char(':'), 1);
    const bool hasValue = option.contains(QLatin1Char(':'));
    if (kind == QLatin1String("garbage-after") && !hasValue) {
        garbageAfter = true;
        return true;
    }
    if ((kind == QLatin1String("refuse") || kind == QLatin1String("silent")) && !value.isEmpty()) {
        (kind == QLatin1String("refuse") ? refuse : silent) << value;
        return true;
    }
    if (kind == QLatin1String("chunk") && PositiveNumber(value, chunk)) {
        return true;
    }
    if (kind == QLatin1String("delay-ms") && PositiveNumber(value, delayMs)) {
        return true;
    }
    error = QStringLiteral("unknown fault \"%1\" (refuse:CMD, silent:CMD, chunk:N, delay-ms:N, "
                           "garbage-after)")
                .arg(option);
    return false;
}

bool Faults::Matches(const QStringList& commands, const QString& line) {
    const QString code = line.section(QLatin1Char('#'), 0, 0);
    return commands.contains(code) || commands.contains(line);
}
