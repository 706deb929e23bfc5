#pragma once

#include <QDateTime>
#include <QString>

struct ArchiveIdentity;

// What the traceability tables hold, written for people in the active language: the
// windows' journal, details and tips. The tables themselves keep stable English codes.
namespace TraceText {

// The label of an audit trail action (ArchiveTrail::kImportArchived, …); a code this
// program does not know (a newer one wrote it) is shown as it is stored.
QString ActionLabel(const QString& code);
// Who did it: the login name, the operating-system account, the host, the program's
// version and, on PostgreSQL, the database role; the login name alone for what was written
// before the archive kept the rest.
QString Identity(const ArchiveIdentity& who);
// The tip of an invalid record: that it was set aside, why, when (UTC) and by whom.
QString InvalidTip(const QString& reason, const QDateTime& at, const ArchiveIdentity& who);
// A stored UTC instant in the user's own time zone, date and time with seconds.
QString LocalTime(const QDateTime& utc);

} // namespace TraceText
