#pragma once

#include <QStringView>
#include <optional>

// A field as a workbook's number cell, so that the sheet shows what the meter sent: the
// value, and the decimals and notation its number format must show ("3.50" is 3.5 shown
// with two decimals).
struct SheetNumber {
    double value = 0;
    int decimals = 0;      // digits after the point, at most kMaxSheetDecimals
    bool exponent = false; // sent in scientific notation ("1.25E-2")
};

// The most decimals a cell's number format shows.
inline constexpr int kMaxSheetDecimals = 30;

// A whole-number column's field (a sample ID, a record or program number) is a number only
// in the number's own form: digits, no leading zero, no sign or blank, and no more digits
// than a cell keeps exactly; "007", "+5", " 5", "5.0" and "1e3" stay text. A decimal
// column's field is a number where FieldNumber reads one ("1,5" stays text).
std::optional<SheetNumber> SheetNumberOf(QStringView field, bool whole);
