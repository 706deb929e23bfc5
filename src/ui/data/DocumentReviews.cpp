#include "ui/data/DocumentReviews.h"

#include "archive/ArchiveJob.h"
#include "archive/VerifiedLines.h"
#include "data/MValSet.h"
#include "data/RecordSelection.h"

#include <QSet>
#include <memory>

namespace {

QList<qint64> ImportsOf(const MValSet& mvals) {
    QList<qint64> ids;
    QSet<qint64> seen;
    for (const RecordOrigin& origin : mvals.origins) {
        if (origin.importId > 0 && !seen.contains(origin.importId)) {
            seen.insert(origin.importId);
            ids << origin.importId;
        }
    }
    return ids;
}

} // namespace

DocumentReviews::DocumentReviews(QObject& owner, CIni& ini) : QObject(&owner), m_ini(ini) {}

void DocumentReviews::Read(const MValSet& mvals) {
    if (m_job) {
        m_job->Abandon();
        m_job->deleteLater();
    }
    m_imports.clear();
    const QList<qint64> ids = ImportsOf(mvals);
    if (ids.isEmpty()) {
        return;
    }
    // Shared with the work, which may outlive this document.
    const auto imports = std::make_shared<QList<ImportSummary>>();
    auto* job = new ArchiveJob(ArchiveSettings::Read(m_ini), this);
    m_job = job;
    connect(job, &ArchiveJob::Finished, this, [this, job, imports] {
        if (job->Succeeded()) {
            for (const ImportSummary& import : std::as_const(*imports)) {
                m_imports.insert(import.id, import);
            }
        }
        job->deleteLater();
        emit Applied();
    });
    job->Start([ids, imports](ArchiveDatabase& db, const ArchiveJob::Going&) {
        return ImportReview(db).Imports(ids, *imports);
    });
}

bool DocumentReviews::Reading() const {
    return m_job && m_job->Running();
}

QStringList DocumentReviews::Verified(const MValSet& mvals, const RecordSelection& printed) const {
    QList<ImportSummary> imports;
    QSet<qint64> seen;
    for (const int row : printed.Rows(int(mvals.origins.size()))) {
        const qint64 id = mvals.origins.value(row).importId;
        if (m_imports.contains(id) && !seen.contains(id)) {
            seen.insert(id);
            imports << m_imports.value(id);
        }
    }
    return VerifiedLines(imports);
}
