#include "ui/app/FileFilter.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString QtPatterns(const QString& classicPatterns) {
    QStringList patterns = classicPatterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : patterns) {
        p = p.trimmed();
    }
    return patterns.join(QLatin1Char(' '));
}

QString QtEntry(const QString& description, const QString& classicPatterns) {
    const QString patterns = QtPatterns(classicPatterns);
    // Qt reads the patterns from the last parenthesis of the entry; a description that
    // already ends with them would otherwise show them twice.
    if (description.trimmed().endsWith(QLatin1Char('(') + patterns + QLatin1Char(')'))) {
        return description.trimmed();
    }
    return description.trimmed() + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

} // namespace

QStringList QtNameFilters(const QString& classicFilter) {
    const QStringList parts = classicFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        filters << QtEntry(parts[i], parts[i + 1]);
    }
    return filters;
}

QString WithDefaultExtension(const QString& path, const QString& extension) {
    if (path.isEmpty() || extension.isEmpty() || !QFileInfo(path).suffix().isEmpty()) {
        return path;
    }
    return path + QLatin1Char('.') + extension;
}

QString FilterExtension(const QString& qtNameFilter, const QString& fallback) {
    static const QRegularExpression onePattern(QStringLiteral("\\(\\s*\\*\\.(\\w+)\\s*\\)\\s*$"));
    const QRegularExpressionMatch match = onePattern.match(qtNameFilter);
    return match.hasMatch() ? match.captured(1) : fallback;
}
