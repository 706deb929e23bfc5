#pragma once

#include "ui/app/TaskServices.h"

#include <QString>

class QWidget;

// Deleting programs for the program console: in the meter after a confirmation, files to
// the trash (all of them after a confirmation). Each failure is told here; the console
// shows its lists again.
class ProgramDeletion {
public:
    ProgramDeletion(TaskServices services, QWidget& console);

    // False when the user did not confirm: nothing was tried.
    bool DeleteMeterProgram(const QString& strProgNum);
    bool DeleteAllMeterPrograms();
    void DeleteFile(const QString& fileName);
    bool DeleteAllFiles();

private:
    bool Confirmed(const QString& question);

    TaskServices m_services;
    QWidget& m_console;
};
