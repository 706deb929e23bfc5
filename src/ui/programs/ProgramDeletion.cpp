// Deleting programs from the console: in the meter after a confirmation, files to the trash
// (all of them after a confirmation).

#include "ui/programs/ProgramDeletion.h"

#include "app/TextTables.h"
#include "app/Ui.h"
#include "programs/CUsrDefProg.h"
#include "ui/app/MeterTask.h"
#include "ui/dialogs/frmConfirm.h"
#include "ui/programs/ProgramMessages.h"

#include <functional>

namespace {

void DeleteInMeter(const TaskServices& services, QWidget& console,
                   const std::function<bool()>& deletion, int failureMessage) {
    MeterTask task(services, &console);
    task.Run(deletion, [&] { ReportProgramMessage(services.ui, failureMessage); });
}

} // namespace

ProgramDeletion::ProgramDeletion(TaskServices services, QWidget& console)
    : m_services(services), m_console(console) {}

bool ProgramDeletion::Confirmed(const QString& question) {
    frmConfirm confirm(&m_console);
    confirm.SetText(question);
    return confirm.Result();
}

bool ProgramDeletion::DeleteMeterProgram(const QString& strProgNum) {
    if (!Confirmed(LoadResString(1096) + QStringLiteral("\r\n") +
                   ProgramNumberInBrackets(strProgNum))) {
        return false;
    }
    DeleteInMeter(
        m_services, m_console, [&] { return m_services.usrDefProg.Delete(strProgNum); }, 1097);
    return true;
}

bool ProgramDeletion::DeleteAllMeterPrograms() {
    if (!Confirmed(LoadResString(1099))) {
        return false;
    }
    DeleteInMeter(
        m_services, m_console, [&] { return m_services.usrDefProg.DeleteAll(); }, 1100);
    return true;
}

// Files go to the trash, where they can be restored: no question of the console's own.
void ProgramDeletion::DeleteFile(const QString& fileName) {
    if (!m_services.usrDefProg.DeleteFile(fileName)) {
        ReportProgramMessage(m_services.ui, 1097);
    }
}

// One file can be taken back from the trash by hand, the whole directory hardly: asked like
// the meter side.
bool ProgramDeletion::DeleteAllFiles() {
    if (!Confirmed(LoadResString(1410))) {
        return false;
    }
    if (!m_services.usrDefProg.DeleteFileAll()) {
        ReportProgramMessage(m_services.ui, 1100);
    }
    return true;
}
