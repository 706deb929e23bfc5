#pragma once

#include "ui/app/TaskServices.h"

#include <QDialog>

class QLabel;
class QPushButton;

// Shown without blocking while the program talks to the meter. Closing it, by its button,
// its close box or by the caller after the exchange, stops a wait for the meter.
class frmWait : public QDialog {
    Q_OBJECT
public:
    explicit frmWait(TaskServices services, QWidget* parent = nullptr);
    ~frmWait() override;

    // False once the dialog is closed: the text can no longer be shown.
    bool SetText(const QString& strText);
    // For work in steps: closing the dialog ends the work after the running step instead of
    // stopping the meter link under it.
    void StopBetweenSteps() { m_stopsLink = false; }
    // True once the dialog is closed, by the user or by the caller.
    bool Stopped() const { return m_unloaded; }
    // Shows under the text how many records arrived and for how long the transfer runs.
    void SetProgress(qsizetype records, qint64 elapsedMs);

    QLabel* lblPleaseWait = nullptr;
    QLabel* lblText = nullptr;
    QLabel* lblProgress = nullptr;
    QPushButton* cmdCancel = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void Unload();

    TaskServices m_services;
    bool m_unloaded = false;
    bool m_stopsLink = true;
};
