#include "qc/QcBaseline.h"

#include "app/TextTables.h"

QcBaseline QcBaseline::Of(const QcControl& control, const QList<QcRecord>& records,
                          const QDate& from, const QDate& to) {
    return {QcJudge::Estimate(control, records, from, to), from, to};
}

QString QcBaseline::Text() const {
    const QString period =
        from.toString(Qt::ISODate) + QStringLiteral(" – ") + to.toString(Qt::ISODate);
    if (estimate.count < kFewestPoints) {
        return LoadResString(1736).arg(estimate.count).arg(period);
    }
    if (estimate.sd <= 0.0) {
        return LoadResString(1737).arg(period);
    }
    return LoadResString(1739).arg(estimate.count).arg(period);
}
