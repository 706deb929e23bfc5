#include "calibration/CalibrationText.h"

QString FormatScientific(double value) {
    // Qt's own number formatting ignores the locale and pads the exponent to two digits.
    return QString::number(value, 'E', 3);
}

QString FormatOneDecimal(double value) {
    return QString::number(value, 'f', 1);
}
