#pragma once

#include "archive/ArchiveJob.h"
#include "ui/archive/ArchiveServices.h"

#include <QString>
#include <functional>

class ArchiveTask;
class QCloseEvent;
class QWidget;

// The archive work a window waits for (ArchiveTask under the runner's wait dialog), and the
// window's close while it runs: the close stops waiting (the work is abandoned and ends on
// its own thread) and happens once the wait is over, since the wait dialog belongs to the
// window. A failure is reported once.
class ArchiveWindowWork {
public:
    ArchiveWindowWork(ArchiveServices services, QWidget& window)
        : m_services(services), m_window(window) {}
    ~ArchiveWindowWork();
    ArchiveWindowWork(const ArchiveWindowWork&) = delete;
    ArchiveWindowWork& operator=(const ArchiveWindowWork&) = delete;

    // True when the work ran to its end and succeeded. False after its message, when the
    // user stopped waiting, or when the window closed meanwhile: the caller then returns at
    // once, touching nothing of the window.
    bool Run(const ArchiveJob::Work& work, const std::function<QString(qint64)>& waitText);
    // From the window's closeEvent: true when work runs, the close then deferred.
    bool DeferClose(QCloseEvent* event);
    bool Running() const { return m_running != nullptr; }

private:
    ArchiveServices m_services;
    QWidget& m_window;
    ArchiveTask* m_running = nullptr;
    bool m_closeAfterWork = false;
};
