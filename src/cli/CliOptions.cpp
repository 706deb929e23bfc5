#include "cli/CliOptions.h"

#include "app/TextTables.h"

#include <QLocale>

std::optional<CliOptions> CliOptions::Parse(const QStringList& args, const QStringList& known) {
    CliOptions options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (!args[i].startsWith(QLatin1String("--"))) {
            options.m_words << args[i];
            continue;
        }
        if (!known.contains(args[i]) || i + 1 >= args.size()) {
            return std::nullopt;
        }
        options.m_values.insert(args[i], args[i + 1]);
        ++i;
    }
    return options;
}

void CliOptions::Refuse(const char* name) {
    if (m_bad.isEmpty()) {
        m_bad = LoadResString(1672).arg(QLatin1String(name), Text(name));
    }
}

std::optional<QDate> CliOptions::Date(const char* name) {
    if (!Has(name)) {
        return std::nullopt;
    }
    const QDate date = QDate::fromString(Text(name), Qt::ISODate);
    if (!date.isValid()) {
        Refuse(name);
        return std::nullopt;
    }
    return date;
}

std::optional<double> CliOptions::Real(const char* name) {
    if (!Has(name)) {
        return std::nullopt;
    }
    bool ok = false;
    const double value = QLocale::c().toDouble(Text(name), &ok);
    if (!ok || !std::isfinite(value)) {
        Refuse(name);
        return std::nullopt;
    }
    return value;
}

std::optional<qint64> CliOptions::Whole(const char* name) {
    if (!Has(name)) {
        return std::nullopt;
    }
    bool ok = false;
    const qint64 value = Text(name).toLongLong(&ok);
    if (!ok) {
        Refuse(name);
        return std::nullopt;
    }
    return value;
}
