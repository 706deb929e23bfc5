// Deleting programs from the console: in the meter after a confirmation, files to the trash
// (all of them after a confirmation).

#include "app/ErrorTrap.h"
#include "app/Services.h"
#include "app/TextTables.h"
#include "ui/app/MeterTask.h"
#include "ui/dialogs/frmConfirm.h"
#include "ui/programs/ProgramMessages.h"
#include "ui/programs/frmProgConsole.h"

#include <QListWidget>

namespace {

bool Confirmed(QWidget* owner, const QString& question) {
    frmConfirm confirm(owner);
    confirm.SetText(question);
    return confirm.Result();
}

} // namespace

void frmProgConsole::DeleteInMeter(const std::function<bool()>& deletion, int failureMessage,
                                   bool fMeterPreferred) {
    MeterTask task(m_services, this);
    task.Run(deletion, [&] { Report(failureMessage); });
    if (!ShowMeterList()) {
        Report(1152);
    }
    UpdateButtons(true, fMeterPreferred, QString());
}

void frmProgConsole::cmdDeleteMeter_Click() {
    TrappedVoid(m_services.ui, [&] {
        const QListWidgetItem* item = SelectedItem(lstProgsMeter);
        if (!item) {
            return;
        }
        const QString number = item->text();
        if (Confirmed(this, LoadResString(1096) + QStringLiteral("\r\n") +
                                ProgramNumberInBrackets(number))) {
            DeleteInMeter([&] { return m_services.usrDefProg.Delete(number); }, 1097, true);
        }
    });
}

void frmProgConsole::cmdDeleteAllMeter_Click() {
    TrappedVoid(m_services.ui, [&] {
        if (lstProgsMeter->count() > 0 && Confirmed(this, LoadResString(1099))) {
            DeleteInMeter([&] { return m_services.usrDefProg.DeleteAll(); }, 1100, false);
        }
    });
}

// Files go to the trash, where they can be restored: no question of the console's own.
void frmProgConsole::cmdDeletePC_Click() {
    TrappedVoid(m_services.ui, [&] {
        const std::optional<Selection> selection = RequiredSelection();
        if (!selection) {
            return;
        }
        if (!m_services.usrDefProg.DeleteFile(selection->fileName)) {
            Report(1097);
        }
        if (!ShowPCList()) {
            Report(1164);
        }
        UpdateButtons(*selection);
    });
}

void frmProgConsole::cmdDeleteAllPC_Click() {
    TrappedVoid(m_services.ui, [&] {
        const std::optional<Selection> selection = RequiredSelection();
        // One file can be taken back from the trash by hand, the whole directory hardly:
        // asked like the meter side.
        if (!selection || !Confirmed(this, LoadResString(1410))) {
            return;
        }
        if (!m_services.usrDefProg.DeleteFileAll()) {
            Report(1100);
        }
        if (!ShowPCList()) {
            Report(1164);
        }
        UpdateButtons(*selection);
    });
}
