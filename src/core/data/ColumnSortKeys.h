#pragma once

#include <QStringView>
#include <span>
#include <vector>

class QCollator;

// The order of one column's fields, computed once per column so that a sort of a million
// records compares numbers only. Numbers (and dates, times) come first, then texts such as
// "<0.01", "----" or "> MR" in the user's collation, empty fields last.
class ColumnSortKeys {
public:
    // `numeric`: the column holds values, so a field is a number or a text. Otherwise a
    // field is a date ("05.01.24", with the time in `timeColumn` when the layout pairs one
    // with it), a time ("08:01:02") or a text.
    ColumnSortKeys(std::span<const QStringView> lines, int column, bool numeric,
                   const QCollator& collator, int timeColumn = -1);

    // The rows 0 .. n-1 in the column's order; equal fields keep the records' order. A
    // descending order reverses each group but keeps the groups in place: texts and empty
    // fields stay at the end.
    std::vector<int> Order(bool ascending) const;

    qsizetype size() const { return qsizetype(m_keys.size()); }

private:
    struct Key {
        int group;    // 0 number, date or time; 1 text; 2 empty
        double value; // the number, date-time in seconds, or the text's rank
    };
    std::vector<Key> m_keys;
};
