#include "qc/LimitValue.h"

bool LimitValue::Beyond(const std::optional<double>& value, const QString& valueText) const {
    if (value) {
        return (lower && *value < *lower) || (upper && *value > *upper);
    }
    QString text = valueText.simplified();
    text.remove(QLatin1Char(' '));
    return upper && text.compare(QLatin1String(">MR"), Qt::CaseInsensitive) == 0;
}

const LimitValue* LimitValue::InForce(const QList<LimitValue>& limits, qint64 program,
                                      const QDate& date) {
    const LimitValue* found = nullptr;
    for (const LimitValue& l : limits) {
        if (l.program != program || l.validFrom > date) {
            continue;
        }
        if (found == nullptr || l.validFrom > found->validFrom ||
            (l.validFrom == found->validFrom && l.createdAt >= found->createdAt)) {
            found = &l;
        }
    }
    return found;
}
