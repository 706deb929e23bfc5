#include "data/ColumnSortKeys.h"

#include "data/FieldNumber.h"
#include "data/RecordColumns.h"
#include "data/RecordDateTime.h"

#include <QCollator>
#include <QDateTime>
#include <QHash>
#include <algorithm>

namespace {

constexpr int kValueGroup = 0;
constexpr int kTextGroup = 1;
constexpr int kEmptyGroup = 2;
constexpr double kSecondsPerDay = 86400.0;

// A date field with its time ("05.01.24;08:01:02") as one instant, so a sort by date keeps
// the measurements of one day in their order.
std::optional<double> DateTimeValue(QStringView line, int timeColumn, QStringView field) {
    if (const auto date = RecordDate(field)) {
        const auto time =
            timeColumn < 0 ? std::nullopt : RecordTime(RecordField(line, timeColumn).trimmed());
        return double(date->toJulianDay()) * kSecondsPerDay +
               (time ? double(time->msecsSinceStartOfDay() / 1000) : 0.0);
    }
    if (const auto time = RecordTime(field)) {
        return double(time->msecsSinceStartOfDay() / 1000);
    }
    return std::nullopt;
}

} // namespace

ColumnSortKeys::ColumnSortKeys(std::span<const QStringView> lines, int column, bool numeric,
                               const QCollator& collator, int timeColumn) {
    m_keys.resize(lines.size());
    // Texts get their rank among the column's distinct texts: few in a value column
    // ("<0.01", "----"), and each compared by the collator only while ranking.
    QHash<QStringView, int> textIndex;
    std::vector<QStringView> texts;
    for (size_t i = 0; i < lines.size(); ++i) {
        const QStringView field = RecordField(lines[i], column).trimmed();
        Key& key = m_keys[i];
        if (field.isEmpty()) {
            key = {kEmptyGroup, 0.0};
            continue;
        }
        const std::optional<double> value =
            numeric ? FieldNumber(field, false) : DateTimeValue(lines[i], timeColumn, field);
        if (value) {
            key = {kValueGroup, *value};
            continue;
        }
        const auto found = textIndex.constFind(field);
        if (found != textIndex.constEnd()) {
            key = {kTextGroup, double(*found)};
            continue;
        }
        key = {kTextGroup, double(texts.size())};
        textIndex.insert(field, int(texts.size()));
        texts.push_back(field);
    }
    std::vector<int> byText(texts.size());
    for (size_t i = 0; i < byText.size(); ++i) {
        byText[i] = int(i);
    }
    std::stable_sort(byText.begin(), byText.end(), [&](int a, int b) {
        return collator.compare(texts[size_t(a)], texts[size_t(b)]) < 0;
    });
    std::vector<double> rank(texts.size());
    for (size_t r = 0; r < byText.size(); ++r) {
        rank[size_t(byText[r])] = double(r);
    }
    for (Key& key : m_keys) {
        if (key.group == kTextGroup) {
            key.value = rank[size_t(key.value)];
        }
    }
}

std::vector<int> ColumnSortKeys::Order(bool ascending) const {
    // Sorting the keys themselves (with the row as the last criterion) reads memory in
    // order, much faster than sorting row numbers that look their keys up.
    struct Entry {
        int group;
        int row;
        double value;
    };
    std::vector<Entry> entries(m_keys.size());
    for (size_t i = 0; i < m_keys.size(); ++i) {
        const Key& k = m_keys[i];
        entries[i] = {k.group, int(i), ascending ? k.value : -k.value};
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        if (a.group != b.group) {
            return a.group < b.group;
        }
        if (a.value != b.value) {
            return a.value < b.value;
        }
        return a.row < b.row;
    });
    std::vector<int> rows(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        rows[i] = entries[i].row;
    }
    return rows;
}
