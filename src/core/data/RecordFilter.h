#pragma once

#include "data/RecordColumns.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringView>
#include <span>
#include <vector>

// What the table shows of a dataset. An empty filter shows every record.
struct RecordFilter {
    enum class State { Any, Ok, Flagged };

    QString group;  // a program number (photometers) or a unit (turbidimeters); empty: all
    QDate from, to; // the records' dates, both ends included; null: open
    State state = State::Any; // the state of the first value: "OK", or anything else but empty
    QString text;             // found in any field, whatever the letter case; empty: any
    QString id;               // found in the sample ID, whatever the letter case; empty: any

    bool IsEmpty() const;
    bool operator==(const RecordFilter&) const = default;
};

// Decides record by record; built once per filter, so a million lines take a few hundred
// milliseconds.
class RecordFilterMatcher {
public:
    RecordFilterMatcher(const RecordFilter& filter, const RecordLayout& columns);
    bool Matches(QStringView line) const;

private:
    RecordFilter m_filter;
    int m_groupColumn = -1;
    int m_stateColumn = -1;
    int m_idColumn = -1;
    int m_dateColumn = -1;
    int m_count = 0;
};

// The rows (0-based) of `lines` that the filter keeps, in order.
std::vector<int> FilteredRows(std::span<const QStringView> lines, const RecordFilter& filter,
                              const RecordLayout& columns);

// One entry of the filter's program list: "320" with its citation forms "PO4-P, PO4".
struct RecordGroup {
    QString key;
    QString name;
};

// The programs (or units) present in the records, by program number.
QList<RecordGroup> RecordGroups(std::span<const QStringView> lines, const RecordLayout& columns);
