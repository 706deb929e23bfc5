#include "data/RecordColumns.h"

#include "meter/ColumnKind.h"

namespace {

constexpr int kProgramColumn = 4;
constexpr int kCitationColumn = 5;

} // namespace

bool RecordColumns::IsNumeric(int column) const {
    const int kind = kinds.value(column, kTextColumn);
    return kind == kWholeColumn || kind == kDecimalColumn;
}

int RecordColumns::UnitOf(int valueColumn) const {
    const int unit = valueColumn + 1;
    return valueColumn >= 0 && unit < count && kinds.value(unit) == kTextColumn ? unit : -1;
}

int RecordColumns::StateOf(int valueColumn) const {
    const int state = valueColumn + 2;
    return UnitOf(valueColumn) >= 0 && state < count && kinds.value(state) == kTextColumn ? state
                                                                                          : -1;
}

int RecordColumns::GroupColumn() const {
    if (program >= 0) {
        return program;
    }
    return values.isEmpty() ? -1 : UnitOf(values.front());
}

RecordColumns RecordColumnsOf(const ExportLayout& layout) {
    RecordColumns columns;
    columns.count = layout.count;
    columns.kinds = layout.kinds.mid(0, layout.count);
    if (layout.count > kCitationColumn &&
        layout.titles.value(kProgramColumn) == QLatin1String("PROG")) {
        columns.program = kProgramColumn;
        columns.citation = kCitationColumn;
    }
    for (int c = 0; c < layout.count; ++c) {
        if (columns.id < 0 && layout.titles.value(c) == QLatin1String("ID")) {
            columns.id = c;
        }
        if (layout.kinds.value(c) == kDecimalColumn) {
            columns.values.append(c);
        }
    }
    return columns;
}

ValueState ValueStateOf(QStringView stateField) {
    const QStringView state = stateField.trimmed();
    if (state.isEmpty()) {
        return ValueState::None;
    }
    return state == QLatin1String("OK") ? ValueState::Ok : ValueState::Flagged;
}

QStringView RecordField(QStringView line, int column) {
    qsizetype start = 0;
    for (int c = 0; c < column; ++c) {
        const qsizetype sep = line.indexOf(QLatin1Char(';'), start);
        if (sep < 0) {
            return QStringView();
        }
        start = sep + 1;
    }
    const qsizetype end = line.indexOf(QLatin1Char(';'), start);
    return end < 0 ? line.mid(start) : line.mid(start, end - start);
}
