#pragma once

#include "archive/ArchiveJob.h"
#include "ui/app/TaskServices.h"

#include <QString>
#include <functional>

class QEventLoop;
class QWidget;

// Archive work as the user sees it: run off the window's thread (ArchiveJob) under the
// runner, so the busy state holds and the wait dialog shows `waitText(progress)`, refreshed
// as the work goes. The event loop keeps running meanwhile, so every window paints while the
// database waits on another program's lock; Cancel (or quitting) stops waiting at once and
// abandons the work, which rolls back what it began.
class ArchiveTask {
public:
    ArchiveTask(TaskServices services, QWidget* owner, ArchiveSettings settings);

    // True when the work ran to its end and succeeded; else Error() says why, empty when the
    // user stopped waiting (Stopped()).
    bool Run(const ArchiveJob::Work& work, const std::function<QString(qint64)>& waitText);
    bool Stopped() const { return m_stopped; }
    // Stops waiting now, as Cancel does (the window that waits is closing).
    void Stop();
    const QString& Error() const { return m_error; }

private:
    TaskServices m_services;
    QWidget* m_owner;
    ArchiveSettings m_settings;
    bool m_stopped = false;
    bool m_stopAsked = false;
    QEventLoop* m_loop = nullptr;
    QString m_error;
};
