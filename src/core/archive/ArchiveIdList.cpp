#include "archive/ArchiveIdList.h"

#include "archive/ArchiveDatabase.h"

#include <QSet>
#include <QSqlQuery>
#include <QStringList>

namespace {

// Ids per statement: far below either engine's limit, and few round trips for a selection
// of thousands.
constexpr qsizetype kSlice = 500;

} // namespace

QList<qint64> ArchiveIdList::Distinct(const QList<qint64>& ids) {
    QList<qint64> distinct;
    QSet<qint64> seen;
    for (const qint64 id : ids) {
        if (!seen.contains(id)) {
            seen.insert(id);
            distinct.append(id);
        }
    }
    return distinct;
}

void ArchiveIdList::Select(ArchiveDatabase& db, const QString& sql, const QList<qint64>& ids,
                           const std::function<void(const QSqlQuery&)>& row) {
    for (qsizetype first = 0; first < ids.size(); first += kSlice) {
        const QList<qint64> slice = ids.mid(first, kSlice);
        QSqlQuery q = db.Prepare(
            sql.arg(QStringList(slice.size(), QStringLiteral("?")).join(QLatin1Char(','))));
        for (const qint64 id : slice) {
            q.addBindValue(id);
        }
        db.Exec(q);
        while (q.next()) {
            row(q);
        }
    }
}
