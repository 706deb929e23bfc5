#pragma once

#include "app/WorkProgress.h"
#include "ui/app/TaskServices.h"

#include <QString>
#include <functional>

class QWidget;

// The reading or writing of a dataset's file as the user sees it: the busy state for its
// whole length and, for a large dataset, the wait dialog with the string `textNumber` ("…
// %1 : %2 %": the file's name, how far the work is), whose Cancel, close box and Escape stop
// the work. A small dataset is done before the user could tell: no dialog, no progress.
class LargeFileTask {
public:
    LargeFileTask(TaskServices services, QWidget* owner, int textNumber, const QString& path,
                  bool large);

    // Quitting stops the work like the wait dialog does, unless this was called: a save the
    // user asked for then runs to its end before the program ends (the user can still stop
    // it in the wait dialog, and the save question then comes before the program ends). A
    // termination signal stops it all the same.
    void FinishBeforeQuitting() { m_finishBeforeQuitting = true; }
    // Runs `body` with the progress for the work (empty for a small dataset); true when the
    // body returned true.
    bool Run(const std::function<bool(const WorkProgress&)>& body);
    // True when the progress stopped the work: the user's choice, not a failure.
    bool Stopped() const { return m_stopped; }

private:
    QString Text(qint64 percent) const;

    TaskServices m_services;
    QWidget* m_owner;
    int m_textNumber;
    QString m_name;
    bool m_large;
    bool m_finishBeforeQuitting = false;
    bool m_stopped = false;
};
