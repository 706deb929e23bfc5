#include "ui/archive/ArchiveTask.h"

#include "ui/app/MeterTask.h"
#include "ui/app/frmWait.h"

#include <QEventLoop>
#include <QTimer>

namespace {

// How often the wait dialog's text follows the work.
constexpr int kRefreshMs = 100;

} // namespace

ArchiveTask::ArchiveTask(TaskServices services, QWidget* owner, ArchiveSettings settings)
    : m_services(services), m_owner(owner), m_settings(std::move(settings)) {}

bool ArchiveTask::Run(const ArchiveJob::Work& work,
                      const std::function<QString(qint64)>& waitText) {
    m_stopped = false;
    m_stopAsked = false;
    m_error.clear();
    MeterTask task(m_services, m_owner, waitText(0));
    // Closing the wait dialog stops this wait, not the meter link.
    task.InSteps();
    return task.Run([&](MeterTask& running) {
        ArchiveJob job(m_settings);
        QEventLoop loop;
        m_loop = &loop;
        QTimer refresh;
        refresh.setInterval(kRefreshMs);
        QObject::connect(&job, &ArchiveJob::Finished, &loop, &QEventLoop::quit);
        QObject::connect(running.Wait(), &QDialog::finished, &loop, &QEventLoop::quit);
        QObject::connect(&refresh, &QTimer::timeout, &loop, [&] {
            if (running.Stopped() || m_stopAsked) {
                loop.quit();
            } else {
                running.Wait()->SetText(waitText(job.Progress()));
            }
        });
        job.Start(work);
        refresh.start();
        if (!m_stopAsked) {
            loop.exec();
        }
        m_loop = nullptr;
        if (job.Running()) {
            job.Abandon();
            m_stopped = true;
            return false;
        }
        m_error = job.Error();
        return job.Succeeded();
    });
}

void ArchiveTask::Stop() {
    m_stopAsked = true;
    if (m_loop) {
        m_loop->quit();
    }
}
