#include "archive/ArchiveExtract.h"

#include "app/DateText.h"
#include "archive/ArchiveQuery.h"

#include <algorithm>

QString ArchiveExtract::PeriodText() const {
    if (!first.isValid()) {
        return QString();
    }
    const QString from = ShortDateText(first.date());
    if (first.date() == last.date()) {
        return from;
    }
    return from + QStringLiteral(" \u2013 ") + ShortDateText(last.date());
}

ArchiveExtract ArchiveExtract::Of(const QString& archive, const QList<ArchivedRecord>& records) {
    ArchiveExtract extract;
    extract.archive = archive;
    extract.count = records.size();
    for (const ArchivedRecord& r : records) {
        if (const std::optional<QDateTime>& stored = r.record.measuredAt) {
            const QDateTime at(stored->date(), stored->time()); // the PC's clock, as a file's
            extract.first = extract.first.isValid() ? std::min(extract.first, at) : at;
            extract.last = extract.last.isValid() ? std::max(extract.last, at) : at;
        }
        if (!extract.serials.contains(r.serial)) {
            extract.serials << r.serial;
        }
        if (!extract.users.contains(r.user)) {
            extract.users << r.user;
        }
    }
    return extract;
}
