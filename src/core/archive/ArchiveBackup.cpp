#include "archive/ArchiveBackup.h"

#include "app/RunTimeErrors.h"
#include "app/TextTables.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveTrail.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QUuid>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// Flushes the copy to the disk before it replaces the earlier backup: a power cut must leave
// one of the two whole.
bool Synced(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) && ::fsync(file.handle()) == 0;
}

} // namespace

bool ArchiveBackup::Fail(const QString& file, const QString& reason) {
    m_error = RunTimeText(RtError::ArchiveCopyFailed).arg(QDir::toNativeSeparators(file), reason);
    return false;
}

bool ArchiveBackup::WriteTo(const QString& file) {
    m_records = 0;
    m_error.clear();
    if (m_db.IsPostgres()) {
        m_error = RunTimeText(RtError::ServerBackup)
                      .arg(m_db.Target().Display(), m_db.Target().databaseName);
        return false;
    }
    const QFileInfo target(file);
    if (target.absoluteFilePath() == QFileInfo(m_db.Target().path).absoluteFilePath()) {
        return Fail(file, LoadResString(1687));
    }
    // SQLite writes only into a file that is new or empty.
    QTemporaryFile copy(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                        QStringLiteral(".XXXXXX"));
    if (!copy.open()) {
        return Fail(file, copy.errorString());
    }
    copy.close();
    copy.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    QString reason;
    const bool copied = m_db.Read([&] {
        QSqlQuery vacuum = m_db.Prepare(QStringLiteral("VACUUM INTO ?"));
        vacuum.addBindValue(copy.fileName());
        m_db.Exec(vacuum);
    });
    if (!copied) {
        return Fail(file, m_db.Error());
    }
    if (!Check(copy.fileName(), reason)) {
        return Fail(file, reason);
    }
    if (!Synced(copy.fileName()) ||
        std::rename(QFile::encodeName(copy.fileName()).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        return Fail(file, QString::fromLocal8Bit(std::strerror(errno)));
    }
    copy.setAutoRemove(false);
    if (!m_db.IsReadOnly()) {
        // The copy exists whatever the journal says; a journal that cannot take the entry
        // leaves the copy as good as it is.
        m_db.Write([&] {
            ArchiveTrail(m_db).Append(m_db.Identity(m_user),
                                      QLatin1String(ArchiveTrail::kBackupMade),
                                      QStringLiteral("archive"), QString(),
                                      QStringLiteral("%1 (%2 records)")
                                          .arg(QDir::toNativeSeparators(target.absoluteFilePath()))
                                          .arg(m_records));
        });
    }
    return true;
}

bool ArchiveBackup::Check(const QString& copy, QString& reason) {
    const QString name = QStringLiteral("mervex-backup-check-") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(copy);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        QSqlQuery check(db);
        if (!db.open() || !check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next() ||
            check.value(0).toString() != QLatin1String("ok") ||
            !check.exec(QStringLiteral("SELECT COUNT(*) FROM records")) || !check.next()) {
            reason = LoadResString(1686);
        } else {
            m_records = check.value(0).toLongLong();
        }
        check = QSqlQuery();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return reason.isEmpty();
}
