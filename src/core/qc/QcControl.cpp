#include "qc/QcControl.h"

#include <algorithm>

bool QcControl::Recognises(const QcRecord& record) const {
    if (program && record.program != program) {
        return false;
    }
    if (!citation.isEmpty() && record.citation.trimmed() != citation) {
        return false;
    }
    const QString id = record.sampleId.trimmed().toCaseFolded();
    const QString text = matchText.trimmed().toCaseFolded();
    return match == Match::Equals ? id == text : !text.isEmpty() && id.startsWith(text);
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
