#include "app/CIni.h"

#include "app/CCSVFile.h"
#include "app/ErrorTrap.h"
#include "app/Paths.h"

#include <QFile>
#include <QStringView>

namespace {

QString Unquote(QString value) {
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == QLatin1Char('"') || first == QLatin1Char('\'')) && value.back() == first) {
            return value.mid(1, value.size() - 2);
        }
    }
    return value;
}

QString Truncated(QString value, int nSize) {
    if (nSize <= 0) {
        return QString();
    }
    if (value.size() > nSize - 1) {
        value.truncate(nSize - 1);
    }
    return value;
}

// The trimmed section name of a header line, or nothing when the line is not one.
std::optional<QStringView> SectionName(QStringView line) {
    if (!line.startsWith(QLatin1Char('['))) {
        return std::nullopt;
    }
    const qsizetype close = line.indexOf(QLatin1Char(']'));
    const QStringView inner = close < 0 ? line.mid(1) : line.mid(1, close - 1);
    return inner.trimmed();
}

} // namespace

QString LookupIniValue(const QString& iniText, const QString& section, const QString& key,
                       const QString& fallback, int nSize) {
    // Trailing blanks of the default are dropped, as the platform function did.
    QString result = fallback;
    while (result.endsWith(QLatin1Char(' '))) {
        result.chop(1);
    }
    bool inSection = false;
    for (QStringView line : QStringView(iniText).split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (const auto name = SectionName(line)) {
            if (inSection) {
                break; // the first matching section is the only one read
            }
            inSection = name->compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection) {
            continue;
        }
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        if (eq < 0 || line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0) {
            continue;
        }
        result = Unquote(line.mid(eq + 1).trimmed().toString());
        break;
    }
    return Truncated(result, nSize);
}

QString CIni::GetIniString(const QString& Sektion, const QString& Titel, const QString& Vorgabe,
                           const QString& INIFile, int nSize) {
    return Trapped(m_ui, QString(), [&] {
        QFile file(INIFile);
        QString text;
        if (file.open(QIODevice::ReadOnly)) {
            text = DecodeFileText(file.readAll());
        }
        return LookupIniValue(text, Sektion, Titel, Vorgabe, nSize);
    });
}

QString CIni::Setting(const QString& Sektion, const QString& Titel, const QString& Vorgabe) {
    return GetIniString(Sektion, Titel, Vorgabe, SettingsIniPath(), 256);
}

bool CIni::OnlyArdel60() {
    return Setting(QStringLiteral("General"), QStringLiteral("OnlyArdel60"),
                   QStringLiteral("False")) == QLatin1String("True");
}
