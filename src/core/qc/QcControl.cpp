#include "qc/QcControl.h"

#include <algorithm>

bool QcControl::Recognises(const QcRecord& record) const {
    if (program && record.program != program) {
        return false;
    }
    if (!citation.isEmpty() && QStringView(record.citation).trimmed() != citation) {
        return false;
    }
    // Compared letter by letter, case folded, without a folded copy of either.
    const QStringView id = QStringView(record.sampleId).trimmed();
    const QStringView text = QStringView(matchText).trimmed();
    return match == Match::Equals ? id.compare(text, Qt::CaseInsensitive) == 0
                                  : !text.isEmpty() && id.startsWith(text, Qt::CaseInsensitive);
}

const QcVersion* QcControl::VersionAt(const QDate& date) const {
    const QcVersion* found = nullptr;
    for (const QcVersion& v : versions) {
        if (v.validFrom > date) {
            continue;
        }
        if (found == nullptr || v.validFrom > found->validFrom ||
            (v.validFrom == found->validFrom && v.createdAt >= found->createdAt)) {
            found = &v;
        }
    }
    return found;
}

QDate QcControl::FirstDate() const {
    QDate first;
    for (const QcVersion& v : versions) {
        if (!first.isValid() || v.validFrom < first) {
            first = v.validFrom;
        }
    }
    return first;
}
