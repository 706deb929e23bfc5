#include "archive/IdentityRow.h"

#include "archive/ArchiveDatabase.h"

#include <QSqlQuery>
#include <QStringList>

QString IdentityRow::Columns(const QString& alias) {
    QStringList columns;
    for (const char* name :
         {"user_name", "os_account", "host_name", "program_version", "db_role"}) {
        columns << (alias.isEmpty() ? QString() : alias + QLatin1Char('.')) + QLatin1String(name);
    }
    return columns.join(QStringLiteral(", "));
}

QVariantList IdentityRow::Values(const ArchiveIdentity& who) {
    // The columns but db_role are NOT NULL: a null text (no login name) is bound as empty.
    const auto given = [](const QString& text) {
        return text.isNull() ? QStringLiteral("") : text;
    };
    return {given(who.userName), given(who.osAccount), given(who.hostName),
            given(who.programVersion), ArchiveDatabase::TextValue(who.dbRole)};
}

ArchiveIdentity IdentityRow::Read(const QSqlQuery& query, int first) {
    ArchiveIdentity who;
    who.userName = query.value(first).toString();
    who.osAccount = query.value(first + 1).toString();
    who.hostName = query.value(first + 2).toString();
    who.programVersion = query.value(first + 3).toString();
    who.dbRole = query.value(first + 4).toString();
    return who;
}
