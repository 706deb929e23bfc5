#include "calibration/CalibrationText.h"

#include <QLocale>
#include <cmath>

QString FormatScientific(double value) {
    // Qt's own number formatting ignores the locale and pads the exponent to two digits.
    return QString::number(value, 'E', 3);
}

QString FormatOneDecimal(double value) {
    return QString::number(value, 'f', 1);
}

QString CanonicalNumberText(double value) {
    return QString::number(value, 'f', QLocale::FloatingPointShortest);
}

std::optional<double> NumericValue(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}
