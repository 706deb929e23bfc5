#include "data/RecordColumns.h"

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
