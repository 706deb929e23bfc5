#pragma once

#include <QString>
#include <optional>

// How the program editor shows the calibration results; "." is always the decimal
// separator, whatever the locale.

// "0.000E+00": four significant digits, signed exponent of at least two digits.
QString FormatScientific(double value);
// "##0.0": at least one digit before the point, exactly one after.
QString FormatOneDecimal(double value);

// The shortest text that reads back as the same value, in plain decimal form
// (2.50 -> "2.5", 1.235E-05 -> "0.00001235").
QString CanonicalNumberText(double value);
// The value of a text that is a number as a whole ("." as separator, blanks around it
// allowed), or nothing.
std::optional<double> NumericValue(const QString& text);
