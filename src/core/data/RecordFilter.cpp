#include "data/RecordFilter.h"

#include "data/RecordDateTime.h"
#include "data/RecordWalker.h"

#include <QMap>
#include <array>

namespace {

constexpr int kMaxFields = 16;

// Program numbers in numeric order ("95" before "320"), anything else after them by text.
bool GroupLess(const QString& a, const QString& b) {
    bool aNumber = false;
    bool bNumber = false;
    const qlonglong x = a.toLongLong(&aNumber);
    const qlonglong y = b.toLongLong(&bNumber);
    if (aNumber != bNumber) {
        return aNumber;
    }
    return aNumber && x != y ? x < y : a < b;
}

} // namespace

bool RecordFilter::IsEmpty() const {
    return group.isEmpty() && from.isNull() && to.isNull() && state == State::Any &&
           text.isEmpty() && id.isEmpty();
}

RecordFilterMatcher::RecordFilterMatcher(const RecordFilter& filter, const RecordLayout& columns,
                                         const LimitFlags* limits)
    : m_filter(filter), m_columns(columns), m_limits(limits), m_groupColumn(columns.GroupColumn()),
      m_stateColumn(columns.StateOf(columns.Value1())), m_idColumn(columns.Id()),
      m_dateColumn(columns.Date()), m_count(std::min(columns.Count(), kMaxFields)) {}

bool RecordFilterMatcher::Matches(QStringView line) const {
    std::array<QStringView, kMaxFields> fields;
    SplitRecordLine(line, std::span<QStringView>(fields.data(), size_t(m_count)));
    if (!m_filter.group.isEmpty() &&
        (m_groupColumn < 0 || fields[size_t(m_groupColumn)].trimmed() != m_filter.group)) {
        return false;
    }
    if (!m_filter.from.isNull() || !m_filter.to.isNull()) {
        const std::optional<QDate> date =
            m_dateColumn < 0 ? std::nullopt : RecordDate(fields[size_t(m_dateColumn)].trimmed());
        if (!date || (!m_filter.from.isNull() && *date < m_filter.from) ||
            (!m_filter.to.isNull() && *date > m_filter.to)) {
            return false;
        }
    }
    if (!StateMatches(line, m_stateColumn >= 0 ? fields[size_t(m_stateColumn)] : QStringView())) {
        return false;
    }
    if (!m_filter.id.isEmpty() &&
        (m_idColumn < 0 || m_idColumn >= m_count ||
         !fields[size_t(m_idColumn)].contains(m_filter.id, Qt::CaseInsensitive))) {
        return false;
    }
    if (m_filter.text.isEmpty()) {
        return true;
    }
    for (int c = 0; c < m_count; ++c) {
        if (fields[size_t(c)].contains(m_filter.text, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}

bool RecordFilterMatcher::StateMatches(QStringView line, QStringView stateField) const {
    switch (m_filter.state) {
    case RecordFilter::State::Any:
        return true;
    case RecordFilter::State::Ok:
        return ValueStateOf(stateField) == ValueState::Ok;
    case RecordFilter::State::Flagged:
        return ValueStateOf(stateField) == ValueState::Flagged;
    case RecordFilter::State::BeyondLimit:
        return m_limits != nullptr && m_limits->Beyond(line, m_columns);
    }
    return false;
}

std::vector<int> FilteredRows(std::span<const QStringView> lines, const RecordFilter& filter,
                              const RecordLayout& columns, const LimitFlags* limits) {
    std::vector<int> rows;
    rows.reserve(lines.size());
    const RecordFilterMatcher matcher(filter, columns, limits);
    const bool all = filter.IsEmpty();
    for (size_t i = 0; i < lines.size(); ++i) {
        if (all || matcher.Matches(lines[i])) {
            rows.push_back(int(i));
        }
    }
    return rows;
}

QList<RecordGroup> RecordGroups(std::span<const QStringView> lines, const RecordLayout& columns) {
    const int groupColumn = columns.GroupColumn();
    if (groupColumn < 0) {
        return {};
    }
    QMap<QStringView, QStringList> names;
    for (const QStringView line : lines) {
        const QStringView key = RecordField(line, groupColumn).trimmed();
        if (key.isEmpty()) {
            continue;
        }
        QStringList& forms = names[key];
        if (columns.Citation() >= 0) {
            const QString form = RecordField(line, columns.Citation()).trimmed().toString();
            if (!form.isEmpty() && !forms.contains(form)) {
                forms.append(form);
            }
        }
    }
    QList<RecordGroup> groups;
    for (auto it = names.cbegin(); it != names.cend(); ++it) {
        groups.append({it.key().toString(), it.value().join(QStringLiteral(", "))});
    }
    std::sort(groups.begin(), groups.end(),
              [](const RecordGroup& a, const RecordGroup& b) { return GroupLess(a.key, b.key); });
    return groups;
}
