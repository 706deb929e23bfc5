#include "ui/archive/ArchiveWindowWork.h"

#include "app/BusyState.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "ui/archive/ArchiveTask.h"

#include <QCloseEvent>
#include <QPointer>
#include <QWidget>

ArchiveWindowWork::~ArchiveWindowWork() {
    if (m_running != nullptr) {
        m_running->Stop();
    }
}

bool ArchiveWindowWork::DeferClose(QCloseEvent* event) {
    if (m_running == nullptr) {
        return false;
    }
    m_closeAfterWork = true;
    m_running->Stop();
    event->ignore();
    return true;
}

bool ArchiveWindowWork::Run(const ArchiveJob::Work& work,
                            const std::function<QString(qint64)>& waitText) {
    const QPointer<QWidget> alive(&m_window);
    ArchiveTask task(m_services.tasks(), &m_window, ArchiveSettings::Read(m_services.ini));
    m_running = &task;
    const bool done = task.Run(work, waitText);
    if (!alive) {
        return false; // destroyed meanwhile, and this with it: the work was abandoned
    }
    m_running = nullptr;
    if (m_closeAfterWork) {
        m_closeAfterWork = false;
        m_window.close();
        return false;
    }
    if (!done && !task.Stopped() && !m_services.busy.Quitting()) {
        m_services.ui.Message(task.Error(), LoadResString(1033), MsgIcon::Critical);
    }
    return done;
}
