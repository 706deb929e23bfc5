#pragma once

#include <QString>

// How the program editor shows the calibration results; "." is always the decimal
// separator, whatever the locale.

// "0.000E+00": four significant digits, signed exponent of at least two digits.
QString FormatScientific(double value);
// "##0.0": at least one digit before the point, exactly one after.
QString FormatOneDecimal(double value);
