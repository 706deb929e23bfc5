#pragma once

#include <QList>
#include <QString>
#include <functional>

class ArchiveDatabase;
class QSqlQuery;

// A statement about a list of archive ids, run a slice of ids at a time so that no list is
// too long for the engine's bound values: `sql` holds "%1" where "?, ?, …" go.
class ArchiveIdList {
public:
    // `ids` without repeats, in the order of their first appearance.
    static QList<qint64> Distinct(const QList<qint64>& ids);
    // Runs `sql` for every slice of `ids` and hands each row of its result to `row`. Throws
    // the archive's error.
    static void Select(ArchiveDatabase& db, const QString& sql, const QList<qint64>& ids,
                       const std::function<void(const QSqlQuery&)>& row);
};
