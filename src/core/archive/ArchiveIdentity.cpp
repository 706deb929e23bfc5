#include "archive/ArchiveIdentity.h"

#include <QSysInfo>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace {

QString OsAccount() {
#ifdef Q_OS_UNIX
    // The account the process runs as, not $USER, which the caller's environment may say
    // anything in.
    if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name) {
        return QString::fromLocal8Bit(entry->pw_name);
    }
    return QStringLiteral("uid %1").arg(::geteuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

} // namespace

ArchiveIdentity ArchiveIdentity::OfProcess(const QString& userName) {
    static const QString account = OsAccount();
    static const QString host = QSysInfo::machineHostName();
    return {userName, account, host, QStringLiteral(MERVEX_VERSION), {}};
}
