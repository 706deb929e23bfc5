#include "archive/ArchiveJob.h"

#include "app/Errors.h"
#include "archive/ArchiveDatabase.h"

#include <QMutex>
#include <QThread>
#include <atomic>

namespace {

std::atomic<int> g_running{0};

} // namespace

struct ArchiveJob::State {
    ArchiveSettings settings;
    std::atomic<bool> running{false};
    std::atomic<bool> abandoned{false};
    std::atomic<qint64> progress{0};
    QMutex mutex; // guards what follows
    bool succeeded = false;
    QString error;
};

ArchiveJob::ArchiveJob(ArchiveSettings settings, QObject* parent)
    : QObject(parent), m_state(std::make_shared<State>()) {
    m_state->settings = std::move(settings);
}

ArchiveJob::~ArchiveJob() {
    Abandon();
}

void ArchiveJob::Start(Work work) {
    m_state->running = true;
    ++g_running;
    // The thread holds the state and the work: they live as long as it runs, whoever waits.
    QThread* thread = QThread::create([state = m_state, work = std::move(work)] {
        const Going going = [&state](qint64 done) {
            state->progress = done;
            return !state->abandoned;
        };
        bool ok = false;
        QString error;
        {
            ArchiveDatabase db;
            db.SetStop(&state->abandoned);
            try {
                ok = db.Open(state->settings) && work(db, going);
                error = db.Error();
            } catch (const MervexError& e) {
                error = e.Description();
            }
        } // the connection closes on the thread that opened it
        const QMutexLocker lock(&state->mutex);
        state->succeeded = ok;
        state->error = error;
        --g_running;
    });
    // Queued to the starter's thread, and dropped with the job: an abandoned job hears nothing.
    connect(thread, &QThread::finished, this, [this] {
        m_state->running = false;
        if (!m_state->abandoned) {
            emit Finished();
        }
    });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

bool ArchiveJob::Running() const {
    return m_state->running;
}

bool ArchiveJob::Succeeded() const {
    const QMutexLocker lock(&m_state->mutex);
    return m_state->succeeded;
}

QString ArchiveJob::Error() const {
    const QMutexLocker lock(&m_state->mutex);
    return m_state->error;
}

void ArchiveJob::Abandon() {
    m_state->abandoned = true;
}

qint64 ArchiveJob::Progress() const {
    return m_state->progress;
}

int ArchiveJob::StillRunning() {
    return g_running;
}
