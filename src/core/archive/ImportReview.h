#pragma once

#include "archive/ArchiveIdentity.h"
#include "archive/ArchiveTrail.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

class ArchiveDatabase;

// An import as an auditor reads it: what it came from, who made it, what it brought, its
// place in the digest chain and its latest review.
struct ImportSummary {
    qint64 id = 0;
    QString model, serial, sourceFile;
    ArchiveIdentity importer; // userName = imports.user_name
    std::optional<QDateTime> importedAt, archivedAt;
    qint64 records = 0, added = 0;
    QString digest;
    std::optional<AuditEvent> review; // the latest review: who, at, the comment in `reason`
};

// The review ("four eyes") of imports: another person's account says it checked an import.
class ImportReview {
public:
    explicit ImportReview(ArchiveDatabase& database) : m_db(database) {}

    // Refused (false, Error() with a sentence) when the reviewer's operating-system account
    // is the importer's and `allowSameAccount` is false, or the import does not exist. An
    // import archived before accounts were recorded is compared by login name. Writes
    // import_reviews and the audit event kReviewGiven (object "import ID", reason = comment).
    bool Review(qint64 importId, const QString& comment, const ArchiveIdentity& who,
                bool allowSameAccount);
    // The imports with their identity, counts and latest review, in the order of
    // `importIds`; an id the archive does not hold is left out.
    bool Imports(const QList<qint64>& importIds, QList<ImportSummary>& imports);

private:
    void ReadLatestReviews(const QList<qint64>& ids, QHash<qint64, ImportSummary>& found);

    ArchiveDatabase& m_db;
};
