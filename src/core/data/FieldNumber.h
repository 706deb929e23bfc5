#pragma once

#include <QStringView>
#include <optional>

// The whole field as a number: blanks around it allowed, "." as separator, an optional
// exponent for real numbers. A field with anything else ("<0.01", "----", "1,5",
// "0.5 mg") is no number, so a missing value never passes for a zero.
std::optional<double> FieldNumber(QStringView field, bool integer);
