#pragma once

#include <QString>
#include <optional>

// The classic conversions of text to numbers that the meter formats and the window tags
// rely on.

// The leading number of a text: blanks anywhere are ignored, an optional sign, digits
// with an optional "." fraction and an optional exponent; 0 when the text does not start
// with a number. "&H1F" and "&O17" are read as hexadecimal and octal.
double LeadingNumber(const QString& text);

// The text as a whole number (rounded half to even, 16-bit range), or nothing when the
// whole text (blanks around it allowed) is not a number.
std::optional<int> WholeNumber(const QString& text);
