#pragma once

#include "ui/app/TaskServices.h"

#include <QString>
#include <functional>

class frmWait;
class QWidget;

// One conversation with the meter as the user sees it: the busy state for its whole length
// (the hourglass and the command states follow it), the wait dialog with its text, whose
// Cancel and close box stop the link, the work itself, and the report of its failure.
// Every window that talks to the meter runs its work through here.
class MeterTask {
public:
    // An empty wait text runs the work without a wait dialog (a short exchange the user
    // cannot usefully stop).
    MeterTask(TaskServices services, QWidget* owner, QString waitText = {});
    MeterTask(const MeterTask&) = delete;
    MeterTask& operator=(const MeterTask&) = delete;

    // Runs `body` and returns its result. On failure `reportFailure` runs once the wait
    // dialog is closed and the busy state has ended, unless the user is quitting: then the
    // failure is the stop the quit asked for, and no message may hold the program open. A wait
    // dialog that cannot show its text (it was closed already) counts as a failure without running
    // the body.
    bool Run(const std::function<bool()>& body, const std::function<void()>& reportFailure = {});
    bool Run(const std::function<bool(MeterTask&)>& body,
             const std::function<void()>& reportFailure = {});

    // Work in steps (one program after the other): closing the wait dialog ends the work
    // between two steps, the running one completes. Call before Run.
    void InSteps() { m_inSteps = true; }
    // For a body that shows its progress: the wait dialog, or null without one.
    frmWait* Wait() const { return m_wait; }
    // True once the user closed the wait dialog or asked to quit: a body that works in
    // steps ends before the next one.
    bool Stopped() const;

private:
    TaskServices m_services;
    QWidget* m_owner;
    QString m_waitText;
    frmWait* m_wait = nullptr;
    bool m_inSteps = false;
};
