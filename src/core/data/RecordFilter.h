#pragma once

#include "data/RecordColumns.h"
#include "qc/LimitFlags.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringView>
#include <span>
#include <vector>

// What the table shows of a dataset. An empty filter shows every record.
struct RecordFilter {
    enum class State { Any, Ok, Flagged, BeyondLimit };

    QString group;  // a program number (photometers) or a unit (turbidimeters); empty: all
    QDate from, to; // the records' dates, both ends included; null: open
    // The state of the first value: "OK", anything else but empty, or beyond the limit
    // values of its program.
    State state = State::Any;
    QString text; // found in any field, whatever the letter case; empty: any
    QString id;   // found in the sample ID, whatever the letter case; empty: any

    bool IsEmpty() const;
    bool operator==(const RecordFilter&) const = default;
};

// Decides record by record; built once per filter, so a million lines take a few hundred
// milliseconds.
class RecordFilterMatcher {
public:
    // `limits` judge State::BeyondLimit (none: no record is beyond); they must outlive the
    // matcher.
    RecordFilterMatcher(const RecordFilter& filter, const RecordLayout& columns,
                        const LimitFlags* limits = nullptr);
    bool Matches(QStringView line) const;

private:
    bool StateMatches(QStringView line, QStringView stateField) const;

    RecordFilter m_filter;
    RecordLayout m_columns;
    const LimitFlags* m_limits = nullptr;
    int m_groupColumn = -1;
    int m_stateColumn = -1;
    int m_idColumn = -1;
    int m_dateColumn = -1;
    int m_count = 0;
};

// The rows (0-based) of `lines` that the filter keeps, in order.
std::vector<int> FilteredRows(std::span<const QStringView> lines, const RecordFilter& filter,
                              const RecordLayout& columns, const LimitFlags* limits = nullptr);

// One entry of the filter's program list: "320" with its citation forms "PO4-P, PO4".
struct RecordGroup {
    QString key;
    QString name;
};

// The programs (or units) present in the records, by program number.
QList<RecordGroup> RecordGroups(std::span<const QStringView> lines, const RecordLayout& columns);
