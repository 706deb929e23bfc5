// Deleting programs from the console: in the meter after a confirmation, files to the trash.

#include "app/ErrorTrap.h"
#include "app/Services.h"
#include "app/StringTable.h"
#include "ui/dialogs/frmConfirm.h"
#include "ui/programs/ProgramMessages.h"
#include "ui/programs/WaitPointer.h"
#include "ui/programs/frmProgConsole.h"

#include <QListWidget>

namespace {

bool Confirmed(QWidget* owner, const QString& question) {
    frmConfirm confirm(owner);
    confirm.SetText(question);
    return confirm.Result();
}

} // namespace

void frmProgConsole::cmdDeleteMeter_Click() {
    TrappedVoid(m_services.ui, [&] {
        QListWidgetItem* item = lstProgsMeter->currentItem();
        if (!item || !item->isSelected()) {
            return;
        }
        const QString number = item->text();
        if (!Confirmed(this, LoadResString(1096) + QStringLiteral("\r\n") +
                                 ProgramNumberInBrackets(number))) {
            return;
        }
        bool deleted = false;
        {
            WaitPointer busy([this](int pointer) { SetBusy(pointer); });
            deleted = m_services.usrDefProg.Delete(number);
        }
        if (!deleted) {
            Report(1097);
        }
        if (!ShowMeterList()) {
            Report(1152);
        }
        UpdateButtons(true, true, QString());
    });
}

void frmProgConsole::cmdDeleteAllMeter_Click() {
    TrappedVoid(m_services.ui, [&] {
        if (lstProgsMeter->count() == 0 || !Confirmed(this, LoadResString(1099))) {
            return;
        }
        bool deleted = false;
        {
            WaitPointer busy([this](int pointer) { SetBusy(pointer); });
            deleted = m_services.usrDefProg.DeleteAll();
        }
        if (!deleted) {
            Report(1100);
        }
        if (!ShowMeterList()) {
            Report(1152);
        }
        UpdateButtons(true, false, QString());
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
        if (!selection) {
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
