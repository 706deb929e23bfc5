#include "archive/ImportReview.h"

#include "app/Errors.h"
#include "app/TextTables.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveIdList.h"
#include "archive/IdentityRow.h"

#include <QHash>
#include <QSqlQuery>

bool ImportReview::Review(qint64 importId, const QString& comment, const ArchiveIdentity& who,
                          bool allowSameAccount) {
    return m_db.Write([&] {
        QSqlQuery import =
            m_db.Prepare(QStringLiteral("SELECT os_account, user_name FROM imports WHERE id = ?"));
        import.addBindValue(importId);
        m_db.Exec(import);
        if (!import.next()) {
            throw MervexError(LoadResString(1832).arg(m_db.Target().Display()).arg(importId));
        }
        // Imports archived before accounts were recorded know only the login name typed.
        const bool byAccount = !import.value(0).isNull();
        const QString importer = import.value(byAccount ? 0 : 1).toString();
        import.finish();
        if (!allowSameAccount && importer == (byAccount ? who.osAccount : who.userName)) {
            throw MervexError(LoadResString(1833).arg(importId).arg(importer));
        }
        QSqlQuery insert = m_db.Prepare(
            QStringLiteral("INSERT INTO import_reviews (import_id, reviewed_at, comment, %1) "
                           "VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
                .arg(IdentityRow::Columns()));
        int at = 0;
        for (const QVariant& value :
             QVariantList{importId, m_db.TimeValue(QDateTime::currentDateTimeUtc()),
                          ArchiveDatabase::TextValue(comment.trimmed())} +
                 IdentityRow::Values(who)) {
            insert.bindValue(at++, value);
        }
        m_db.Exec(insert);
        ArchiveTrail(m_db).Append(who, QLatin1String(ArchiveTrail::kReviewGiven),
                                  QStringLiteral("import %1").arg(importId), {}, {},
                                  comment.trimmed());
    });
}

bool ImportReview::Imports(const QList<qint64>& importIds, QList<ImportSummary>& imports) {
    imports.clear();
    const QList<qint64> ids = ArchiveIdList::Distinct(importIds);
    QHash<qint64, ImportSummary> found;
    const bool read = m_db.Read([&] {
        // Imports from schema 4 on keep their counts in import_results, written after their
        // records; earlier ones in their own row.
        ArchiveIdList::Select(
            m_db,
            QStringLiteral("SELECT i.id, m.model, m.serial_number, i.source_file, %1, %2, %3, "
                           "COALESCE(x.record_count, i.record_count), "
                           "COALESCE(x.added_count, i.added_count), x.digest FROM imports i "
                           "JOIN meters m ON m.id = i.meter_id LEFT JOIN import_results x ON "
                           "x.import_id = i.id WHERE i.id IN (%4)")
                .arg(IdentityRow::Columns(QStringLiteral("i")),
                     m_db.TimeText(QStringLiteral("i.imported_at")),
                     m_db.TimeText(QStringLiteral("i.archived_at")), QStringLiteral("%1")),
            ids, [&](const QSqlQuery& q) {
                ImportSummary s;
                s.id = q.value(0).toLongLong();
                s.model = q.value(1).toString();
                s.serial = q.value(2).toString();
                s.sourceFile = q.value(3).toString();
                s.importer = IdentityRow::Read(q, 4);
                s.importedAt = ArchiveDatabase::StoredTime(q.value(9).toString());
                s.archivedAt = ArchiveDatabase::StoredTime(q.value(10).toString());
                s.records = q.value(11).toLongLong();
                s.added = q.value(12).toLongLong();
                s.digest = q.value(13).toString();
                found.insert(s.id, s);
            });
        ReadLatestReviews(ids, found);
    });
    if (read) {
        for (const qint64 id : ids) {
            if (found.contains(id)) {
                imports.append(found.value(id));
            }
        }
    }
    return read;
}

void ImportReview::ReadLatestReviews(const QList<qint64>& ids,
                                     QHash<qint64, ImportSummary>& found) {
    ArchiveIdList::Select(
        m_db,
        QStringLiteral("SELECT v.import_id, %1, v.comment, %2 FROM import_reviews v WHERE "
                       "v.import_id IN (%3) ORDER BY v.id")
            .arg(m_db.TimeText(QStringLiteral("v.reviewed_at")),
                 IdentityRow::Columns(QStringLiteral("v")), QStringLiteral("%1")),
        ids, [&](const QSqlQuery& q) {
            const qint64 importId = q.value(0).toLongLong();
            AuditEvent review;
            review.at = ArchiveDatabase::StoredTime(q.value(1).toString()).value_or(QDateTime());
            review.reason = q.value(2).toString();
            review.who = IdentityRow::Read(q, 3);
            review.action = QLatin1String(ArchiveTrail::kReviewGiven);
            review.object = QStringLiteral("import %1").arg(importId);
            // In id order: the last one read is the latest.
            if (found.contains(importId)) {
                found[importId].review = review;
            }
        });
}
