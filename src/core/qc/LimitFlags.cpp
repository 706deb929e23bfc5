#include "qc/LimitFlags.h"

#include "data/FieldNumber.h"
#include "data/RecordColumns.h"
#include "data/RecordDateTime.h"
#include "data/RecordWalker.h"
#include "meter/RecordLayout.h"

#include <algorithm>
#include <array>

LimitFlags::LimitFlags(const QList<LimitValue>& limits) {
    for (const LimitValue& l : limits) {
        m_byProgram[l.program].push_back(l);
    }
    for (std::vector<LimitValue>& versions : m_byProgram) {
        std::stable_sort(
            versions.begin(), versions.end(), [](const LimitValue& a, const LimitValue& b) {
                return std::tie(a.validFrom, a.createdAt) < std::tie(b.validFrom, b.createdAt);
            });
    }
}

const LimitValue* LimitFlags::InForce(qint64 program, const QDate& date) const {
    const auto found = m_byProgram.constFind(program);
    if (found == m_byProgram.cend()) {
        return nullptr;
    }
    const QDate day = date.isValid() ? date : m_today;
    const std::vector<LimitValue>& versions = *found;
    // The last version from that day or before; on one day the one made last.
    const auto after =
        std::upper_bound(versions.begin(), versions.end(), day,
                         [](const QDate& d, const LimitValue& l) { return d < l.validFrom; });
    return after == versions.begin() ? nullptr : &*std::prev(after);
}

std::optional<bool> LimitFlags::Judge(std::optional<qint64> program, const QDate& date,
                                      std::optional<double> value, QStringView state) const {
    const LimitValue* limit = program ? InForce(*program, date) : nullptr;
    if (limit == nullptr) {
        return std::nullopt;
    }
    // The state is read only where it can matter, so that "OK" costs no copy.
    const bool overRange = limit->upper && !state.isEmpty() &&
                           ValueStateOf(state) == ValueState::Flagged &&
                           limit->Beyond(std::nullopt, state.toString());
    return overRange || limit->Beyond(value, QString());
}

bool LimitFlags::Beyond(QStringView line, const RecordLayout& layout) const {
    const int programColumn = layout.Program();
    if (IsEmpty() || programColumn < 0) {
        return false;
    }
    const std::optional<double> program =
        FieldNumber(RecordField(line, programColumn).trimmed(), true);
    if (!program) {
        return false;
    }
    const int dateColumn = layout.Date();
    const std::optional<QDate> date =
        dateColumn < 0 ? std::nullopt : RecordDate(RecordField(line, dateColumn).trimmed());
    const int valueColumn = layout.Value1();
    const int stateColumn = layout.StateOf(valueColumn);
    return Judge(qint64(*program), date.value_or(QDate()),
                 valueColumn < 0 ? std::nullopt
                                 : FieldNumber(RecordField(line, valueColumn).trimmed(), false),
                 stateColumn < 0 ? QStringView() : RecordField(line, stateColumn))
        .value_or(false);
}
