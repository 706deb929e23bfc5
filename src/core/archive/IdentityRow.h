#pragma once

#include "archive/ArchiveIdentity.h"

#include <QString>
#include <QVariantList>

class QSqlQuery;

// The columns that say who wrote a traced row (a record's state, a review), always in this
// order: user_name, os_account, host_name, program_version, db_role.
class IdentityRow {
public:
    static constexpr int kColumns = 5;
    // The columns' names, each prefixed with `alias` and a dot when one is given.
    static QString Columns(const QString& alias = QString());
    // The values to bind for them; db_role NULL where there is none (SQLite).
    static QVariantList Values(const ArchiveIdentity& who);
    // The identity in the columns of the query's current row from `first` on.
    static ArchiveIdentity Read(const QSqlQuery& query, int first);
};
