#include "ui/data/DocumentLimits.h"

#include "archive/ArchiveJob.h"
#include "archive/QcStore.h"
#include "qc/LimitFlags.h"
#include "ui/data/DatasetTableTools.h"

#include <QFileInfo>
#include <memory>

namespace {

// A file archive that does not exist holds no limits: opening it would make it, and a user
// who only opens a dataset file gets no archive of it.
bool MayHoldLimits(const ArchiveSettings& settings) {
    const std::optional<ArchiveTarget> target = settings.database.trimmed().isEmpty()
                                                    ? ArchiveTarget::DefaultFile()
                                                    : ArchiveTarget::Parse(settings.database);
    return target &&
           (target->engine != ArchiveTarget::Engine::Sqlite || QFileInfo::exists(target->path));
}

} // namespace

DocumentLimits::DocumentLimits(QObject& owner, CIni& ini, DatasetTableTools& tools)
    : QObject(&owner), m_ini(ini), m_tools(tools) {}

void DocumentLimits::Read() {
    if (m_job) {
        m_job->Abandon();
        m_job->deleteLater();
    }
    const ArchiveSettings settings = ArchiveSettings::Read(m_ini);
    if (!MayHoldLimits(settings)) {
        return;
    }
    // Shared with the work, which may outlive this document.
    const auto limits = std::make_shared<QList<LimitValue>>();
    auto* job = new ArchiveJob(settings, this);
    m_job = job;
    connect(job, &ArchiveJob::Finished, this, [this, job, limits] {
        if (job->Succeeded()) {
            m_tools.SetLimits(LimitFlags(*limits));
        }
        job->deleteLater();
        emit Applied();
    });
    job->Start([limits](ArchiveDatabase& db, const ArchiveJob::Going&) {
        return QcStore(db).Limits(*limits);
    });
}

bool DocumentLimits::Reading() const {
    return m_job && m_job->Running();
}
