#include "ui/app/LargeFileTask.h"

#include "app/BusyState.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "ui/app/MeterTask.h"
#include "ui/app/frmWait.h"

#include <QFileInfo>

LargeFileTask::LargeFileTask(TaskServices services, QWidget* owner, int textNumber,
                             const QString& path, bool large)
    : m_services(services), m_owner(owner), m_textNumber(textNumber),
      m_name(QFileInfo(path).fileName()), m_large(large) {}

QString LargeFileTask::Text(qint64 percent) const {
    return LoadResString(m_textNumber).arg(m_name).arg(percent);
}

bool LargeFileTask::Run(const std::function<bool(const WorkProgress&)>& body) {
    m_stopped = false;
    MeterTask task(m_services, m_owner, m_large ? Text(0) : QString());
    return task.Run([&](MeterTask& running) {
        if (!m_large) {
            return body({});
        }
        return body([&](qint64 done, qint64 total) {
            frmWait* wait = running.Wait();
            wait->SetText(Text(total > 0 ? done * 100 / total : 0));
            m_services.ui.Yield();
            // A signal ends even a save the user asked for: the dataset's recovery copy
            // is already kept, and the program must end before anyone could wait for it.
            const bool finish = m_finishBeforeQuitting && !m_services.busy.EndingBySignal();
            m_stopped = finish ? wait->Stopped() : running.Stopped();
            return !m_stopped;
        });
    });
}
