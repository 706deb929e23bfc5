#include "archive/TraceText.h"

#include "app/DateText.h"
#include "app/TextTables.h"
#include "archive/ArchiveIdentity.h"
#include "archive/ArchiveTrail.h"

#include <utility>

namespace TraceText {

QString ActionLabel(const QString& code) {
    static const std::pair<const char*, int> kLabels[] = {
        {ArchiveTrail::kImportArchived, 1871},    {ArchiveTrail::kRecordInvalidated, 1872},
        {ArchiveTrail::kRecordRestored, 1873},    {ArchiveTrail::kQcVersionAdded, 1874},
        {ArchiveTrail::kLimitVersionAdded, 1875}, {ArchiveTrail::kReviewGiven, 1876},
        {ArchiveTrail::kBackupMade, 1877},        {ArchiveTrail::kSchemaUpgraded, 1878},
    };
    for (const auto& [stored, label] : kLabels) {
        if (code == QLatin1String(stored)) {
            return LoadResString(label);
        }
    }
    return code;
}

QString Identity(const ArchiveIdentity& who) {
    // Rows written before the archive kept more than the login name.
    if (who.osAccount.isEmpty() && who.hostName.isEmpty() && who.programVersion.isEmpty()) {
        return who.userName;
    }
    // What the program did on its own (a schema upgrade) has no login name.
    const QString login = who.userName.isEmpty() ? QStringLiteral("\u2014") : who.userName;
    QString text = LoadResString(1863).arg(login, who.osAccount, who.hostName, who.programVersion);
    if (!who.dbRole.isEmpty()) {
        text += QStringLiteral(", ") + LoadResString(1864).arg(who.dbRole);
    }
    return text;
}

QString InvalidTip(const QString& reason, const QDateTime& at, const ArchiveIdentity& who) {
    return QStringList{ActionLabel(QLatin1String(ArchiveTrail::kRecordInvalidated)), reason,
                       LocalTime(at) + QStringLiteral(" \u2014 ") + Identity(who)}
        .join(QLatin1Char('\n'));
}

QString LocalTime(const QDateTime& utc) {
    if (!utc.isValid()) {
        return {};
    }
    const QDateTime local = utc.toLocalTime();
    return ShortDateText(local.date()) + QLatin1Char(' ') + LongTimeText(local.time());
}

} // namespace TraceText
