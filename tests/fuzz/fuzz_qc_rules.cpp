// Any text as a control's rules (typed in `qc define --rules`, or read back from a shared
// archive), and any numbers as its points: the rules read back as they were written, and the
// judgement never fails whatever the values (NaN, infinities, a zero SD).
#include "FuzzServices.h"
#include "qc/QcJudge.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = FuzzText(data, size);
    if (const std::optional<QcRules> rules = QcRules::Parse(text)) {
        const std::optional<QcRules> again = QcRules::Parse(rules->Text());
        if (!again || again->mask != rules->mask || again->runLength != rules->runLength) {
            __builtin_trap();
        }
    }
    QcControl control;
    control.matchText = QStringLiteral("K");
    QcVersion version;
    version.validFrom = QDate(2026, 1, 1);
    const size_t doubles = size / sizeof(double);
    if (doubles < 2) {
        return 0;
    }
    std::memcpy(&version.target, data, sizeof(double));
    std::memcpy(&version.sd, data + sizeof(double), sizeof(double));
    control.versions = {version};
    QList<QcRecord> records;
    for (size_t i = 2; i < doubles && i < 64; ++i) {
        QcRecord r;
        r.recordId = qint64(i);
        r.serial = QString::number(i % 2);
        r.measuredAt = QDateTime(QDate(2026, 1, 1).addDays(qint64(i % 5)), QTime(8, 0), Qt::UTC);
        r.sampleId = QStringLiteral("k");
        double value = 0.0;
        std::memcpy(&value, data + i * sizeof(double), sizeof(double));
        r.value1 = value;
        r.state1 = QStringLiteral("OK");
        records << r;
    }
    const QcJudgement judged = QcJudge::Judge(control, records);
    if (judged.points.size() != records.size()) {
        __builtin_trap();
    }
    return 0;
}
