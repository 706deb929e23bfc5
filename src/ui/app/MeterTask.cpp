#include "ui/app/MeterTask.h"

#include "app/BusyState.h"
#include "ui/app/frmWait.h"

#include <optional>

MeterTask::MeterTask(TaskServices services, QWidget* owner, QString waitText)
    : m_services(services), m_owner(owner), m_waitText(std::move(waitText)) {}

bool MeterTask::Run(const std::function<bool()>& body, const std::function<void()>& reportFailure) {
    return Run([&body](MeterTask&) { return body(); }, reportFailure);
}

bool MeterTask::Run(const std::function<bool(MeterTask&)>& body,
                    const std::function<void()>& reportFailure) {
    bool done = false;
    {
        const BusyState::Hold busy(m_services.busy);
        std::optional<frmWait> wait;
        if (!m_waitText.isEmpty()) {
            wait.emplace(m_services, m_owner);
            m_wait = &*wait;
            if (m_inSteps) {
                wait->StopBetweenSteps();
            }
            wait->show();
        }
        if (!wait || wait->SetText(m_waitText)) {
            done = body(*this);
        }
        if (wait) {
            wait->close();
        }
        m_wait = nullptr;
    }
    if (!done && reportFailure && !m_services.busy.Quitting()) {
        reportFailure();
    }
    return done;
}

bool MeterTask::Stopped() const {
    return m_services.busy.Quitting() || (m_wait && m_wait->Stopped());
}
