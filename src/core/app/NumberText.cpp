#include "app/NumberText.h"

#include <cmath>
#include <limits>

namespace {

double RadixValue(const QString& digits, int radix) {
    double value = 0;
    for (const QChar ch : digits) {
        const int d = QStringLiteral("0123456789ABCDEF").indexOf(ch.toUpper());
        if (d < 0 || d >= radix) {
            break;
        }
        value = value * radix + d;
    }
    return value;
}

} // namespace

double LeadingNumber(const QString& text) {
    QString s;
    s.reserve(text.size());
    for (const QChar ch : text) {
        if (ch != QLatin1Char(' ') && ch != QLatin1Char('\t') && ch != QLatin1Char('\n') &&
            ch != QLatin1Char('\r')) {
            s.append(ch);
        }
    }
    if (s.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
        return RadixValue(s.mid(2), 16);
    }
    if (s.startsWith(QLatin1String("&O"), Qt::CaseInsensitive)) {
        return RadixValue(s.mid(2), 8);
    }
    qsizetype i = 0;
    const qsizetype n = s.size();
    auto digitAt = [&](qsizetype k) { return k < n && s[k].isDigit() && s[k].unicode() < 128; };
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-'))) {
        ++i;
    }
    const qsizetype mantissaStart = i;
    while (digitAt(i)) {
        ++i;
    }
    if (i < n && s[i] == QLatin1Char('.')) {
        ++i;
        while (digitAt(i)) {
            ++i;
        }
    }
    if (i == mantissaStart || (i == mantissaStart + 1 && s[mantissaStart] == QLatin1Char('.'))) {
        return 0;
    }
    qsizetype end = i;
    if (i < n && (s[i] == QLatin1Char('E') || s[i] == QLatin1Char('e') ||
                  s[i] == QLatin1Char('D') || s[i] == QLatin1Char('d'))) {
        qsizetype k = i + 1;
        if (k < n && (s[k] == QLatin1Char('+') || s[k] == QLatin1Char('-'))) {
            ++k;
        }
        if (digitAt(k)) {
            while (digitAt(k)) {
                ++k;
            }
            end = k;
        }
    }
    QString number = s.left(end);
    for (QChar& ch : number) {
        if (ch == QLatin1Char('D') || ch == QLatin1Char('d')) {
            ch = QLatin1Char('E');
        }
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0;
}

std::optional<int> WholeNumber(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<short>::min() ||
        rounded > std::numeric_limits<short>::max()) {
        return std::nullopt;
    }
    return static_cast<int>(rounded);
}
