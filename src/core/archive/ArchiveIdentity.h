#pragma once

#include <QString>

// Who wrote a row of the archive. The login name is whatever the user typed when the program
// started; the operating-system account, the host and the program's version are the
// process's own, which a user cannot choose by typing; the database role is the server's
// account of the session (PostgreSQL's session_user, empty on SQLite).
struct ArchiveIdentity {
    QString userName;
    QString osAccount;
    QString hostName;
    QString programVersion;
    QString dbRole;

    // This process's identity with `userName`; no database role.
    static ArchiveIdentity OfProcess(const QString& userName);
};
