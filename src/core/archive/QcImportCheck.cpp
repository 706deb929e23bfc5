#include "archive/QcImportCheck.h"

#include "app/TextTables.h"
#include "archive/QcStore.h"
#include "qc/QcJudge.h"

#include <array>
#include <bit>

namespace {

// The line beyond which each rule's values lie, in SD, by rule index (1-2s, 1-3s, 2-2s, R-4s,
// 4-1s, Nx); a run of Nx lies beyond the target itself.
constexpr std::array<int, QcRules::kRuleCount> kLines = {2, 3, 2, 2, 1, 0};

// The most points a rule looks back on: the previous 11 of a 12x run.
constexpr int kLookBack = 11;

bool Beyond(double z, bool above, int line) {
    return above ? z > line : z < -line;
}

} // namespace

QStringList QcImportVerdict::BannerLines() const {
    QStringList lines;
    for (const Rejection& r : rejections) {
        lines << LoadResString(r.rules.size() == 1 ? 1695 : 1696)
                     .arg(r.control, r.rules.join(QStringLiteral(", ")), r.what);
    }
    return lines;
}

QString QcImportVerdict::Summary() const {
    if (!warned.isEmpty()) {
        return LoadResString(1768).arg(warned.join(QStringLiteral(", ")));
    }
    if (points == 0 || !rejections.isEmpty()) {
        return QString();
    }
    return points == 1 ? LoadResString(1732) : LoadResString(1691).arg(points);
}

QString QcImportCheck::Describe(const QcJudgement& judgement, int index) {
    const QcPoint& point = judgement.points[index];
    // The worst rule that fired: the rules are numbered from the widest line inwards.
    const int worst = std::countr_zero(point.flags & ~unsigned(QcRule::OneTwoS));
    if (QcRules::RuleAt(worst) == QcRule::RFourS) {
        return LoadResString(1698).arg(2).arg(QStringLiteral("±2s"));
    }
    const int line = kLines[size_t(worst)];
    const bool above = point.z > 0;
    // The run of the series' values beyond the line that ends at this point.
    int count = 0;
    for (int i = index; i >= 0; --i) {
        const QcPoint& earlier = judgement.points[i];
        if (earlier.record.serial != point.record.serial) {
            continue;
        }
        if (!Beyond(earlier.z, above, line)) {
            break;
        }
        ++count;
    }
    if (QcRules::RuleAt(worst) == QcRule::RunX) {
        return LoadResString(1699).arg(count);
    }
    const QString where =
        (above ? QStringLiteral("+") : QStringLiteral("−")) + QString::number(line) + u's';
    return count == 1 ? LoadResString(1697).arg(where) : LoadResString(1698).arg(count).arg(where);
}

bool QcImportCheck::Begin() {
    return QcStore(m_db).LastRecordId(m_lastRecord);
}

bool QcImportCheck::Judge(const QList<qint64>& imports, QcImportVerdict& verdict) {
    verdict = QcImportVerdict{};
    if (imports.isEmpty()) {
        return true;
    }
    QcStore store(m_db);
    QList<QcControl> controls;
    if (!store.Controls(controls)) {
        return false;
    }
    const auto isNew = [&](const QcRecord& r) {
        return r.recordId > m_lastRecord && imports.contains(r.importId);
    };
    for (const QcControl& control : controls) {
        std::optional<QDateTime> first;
        QList<QcRecord> records;
        if (!store.FirstAfter(control, m_lastRecord, first) ||
            (first && !store.Series(control, *first, kLookBack, records))) {
            return false;
        }
        const QcJudgement judged = QcJudge::Judge(control, records);
        unsigned rejected = 0;
        int last = -1;
        bool warned = false;
        for (int i = 0; i < judged.points.size(); ++i) {
            const QcPoint& p = judged.points[i];
            if (!isNew(p.record)) {
                continue;
            }
            ++verdict.points;
            if (QcRules::IsRejection(p.flags)) {
                rejected |= p.flags & ~unsigned(QcRule::OneTwoS);
                last = i;
                verdict.rejectedRecords << p.record.recordId;
            } else {
                warned = warned || p.flags != 0;
            }
        }
        if (last >= 0) {
            const QcPoint& p = judged.points[last];
            verdict.rejections.append(
                {control.name, p.version->rules.Codes(rejected), Describe(judged, last)});
        } else if (warned) {
            verdict.warned << control.name;
        }
    }
    return store.RecordLines(verdict.rejectedRecords, verdict.rejectedLines);
}
