// Copying programs between the meter and the work directory, one or all.

#include "app/ErrorTrap.h"
#include "app/Paths.h"
#include "app/Services.h"
#include "app/TextTables.h"
#include "ui/app/MeterTask.h"
#include "ui/app/frmWait.h"
#include "ui/dialogs/frmChangeDir.h"
#include "ui/programs/ProgramMessages.h"
#include "ui/programs/frmProgConsole.h"

#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QListWidget>
#include <QScopedValueRollback>
#include <utility>

// Messages for a program that cannot be read or written are shown here; a cancelled save
// dialog is left to the caller.
frmProgConsole::Outcome frmProgConsole::SaveMeterProgramToFile(const QString& strProgNum) {
    ProgramRecord program = EmptyProgramRecord();
    if (!m_services.usrDefProg.GetProgramMeter(program, strProgNum)) {
        Report(1158, 1115, MsgIcon::Warning);
        return Outcome::Failed;
    }
    program[ProgramField::USER] = m_services.login.UserName();
    const std::optional<QString> path = AskProgramFilePath(m_services, strProgNum);
    if (!path) {
        return Outcome::Cancelled;
    }
    if (!m_services.usrDefProg.SaveToFile(program, *path)) {
        Report(1088);
        return Outcome::Failed;
    }
    return Outcome::Done;
}

void frmProgConsole::cmdCopyToPC_Click() {
    TrappedVoid(m_services.ui, [&] {
        const QListWidgetItem* item = SelectedItem(lstProgsMeter);
        if (!item) {
            return;
        }
        const QString number = item->text();
        if (SaveMeterProgramToFile(number) != Outcome::Done) {
            return;
        }
        if (!ShowPCList()) {
            Report(1164);
        }
        UpdateButtons(false, true, number);
    });
}

// One folder for all programs, asked once: a dialog per program made copying fifty
// programs fifty dialogs.
void frmProgConsole::cmdCopyToPCAll_Click() {
    TrappedVoid(m_services.ui, [&] {
        const std::optional<Selection> selection = RequiredSelection();
        if (!selection) {
            return;
        }
        QString folder;
        {
            frmChangeDir chooser(m_services, this);
            chooser.setWindowTitle(LoadResString(1765));
            folder = chooser.Path();
        }
        if (folder.isEmpty()) {
            return;
        }
        QStringList numbers;
        for (int row = 0; row < lstProgsMeter->count(); ++row) {
            numbers << lstProgsMeter->item(row)->text();
        }
        CopyTally tally;
        bool cancelled = false;
        CopyAll(numbers, [&](const QString& number, int& copied) {
            const Outcome outcome = CopyMeterProgramInto(folder, number, tally);
            cancelled = outcome == Outcome::Cancelled;
            copied += outcome == Outcome::Done ? 1 : 0;
            return outcome == Outcome::Done || outcome == Outcome::Skipped;
        });
        if (!ShowPCList()) {
            Report(1164);
        }
        UpdateButtons(*selection);
        ReportCopyAll(folder, tally, cancelled);
    });
}

frmProgConsole::Outcome frmProgConsole::CopyMeterProgramInto(const QString& folder,
                                                             const QString& strProgNum,
                                                             CopyTally& tally) {
    ProgramRecord program = EmptyProgramRecord();
    if (!m_services.usrDefProg.GetProgramMeter(program, strProgNum)) {
        Report(1158, 1115, MsgIcon::Warning);
        return Outcome::Failed;
    }
    program[ProgramField::USER] = m_services.login.UserName();
    const QString path = JoinPath(folder, QStringLiteral("PROG %1.csv").arg(strProgNum));
    const bool exists = QFileInfo::exists(path);
    if (exists) {
        const MsgResult answer = m_services.ui.Message(
            LoadResString(1766).arg(QDir::toNativeSeparators(path)), LoadResString(1095),
            MsgIcon::Question, MsgButtons::YesNoCancel, MsgResult::No);
        if (answer == MsgResult::Cancel) {
            return Outcome::Cancelled;
        }
        if (answer == MsgResult::No) {
            ++tally.skipped;
            return Outcome::Skipped;
        }
    }
    if (!m_services.usrDefProg.SaveToFile(program, path)) {
        Report(1088);
        return Outcome::Failed;
    }
    ++(exists ? tally.replaced : tally.copied);
    return Outcome::Done;
}

void frmProgConsole::ReportCopyAll(const QString& folder, const CopyTally& tally,
                                   bool interrupted) {
    if (m_services.busy.Quitting()) {
        return; // the program is ending: no message may hold it open
    }
    const QString summary = LoadResString(1767)
                                .arg(QDir::toNativeSeparators(folder))
                                .arg(tally.copied)
                                .arg(tally.replaced)
                                .arg(tally.skipped);
    if (interrupted) {
        ReportCopyInterrupted(summary);
    } else {
        m_services.ui.Message(summary, LoadResString(1054), MsgIcon::Information);
    }
}

// The wait dialog counts the programs; its Cancel, the console's close box and Escape end
// the copy after the program being copied. What was copied stays, and the note says how
// much that is; a console the user closed closes once the copy has ended.
void frmProgConsole::CopyAll(const QStringList& entries, const CopyStep& copyOne) {
    const auto progress = [&](int n) { return LoadResString(1540).arg(n).arg(entries.size()); };
    int copied = 0;
    bool stopped = false;
    {
        const QScopedValueRollback<bool> copying(m_copying, true);
        MeterTask task(m_services, this, progress(1));
        task.InSteps();
        task.Run([&](MeterTask& running) {
            for (int i = 0; i < entries.size(); ++i) {
                m_services.ui.Yield(); // the stop arrives between two programs
                stopped = running.Stopped() || m_closeRequested;
                if (stopped) {
                    break;
                }
                running.Wait()->SetText(progress(i + 1));
                if (!copyOne(entries[i], copied)) {
                    break;
                }
            }
            return true;
        });
    }
    if (stopped && !m_services.busy.Quitting()) {
        m_services.ui.Message(LoadResString(1169) + QStringLiteral("\r\n") +
                                  LoadResString(1541).arg(copied).arg(entries.size()),
                              LoadResString(1115), MsgIcon::Warning);
    }
    if (std::exchange(m_closeRequested, false)) {
        reject();
    }
}

bool frmProgConsole::eventFilter(QObject* watched, QEvent* event) {
    const bool closing =
        event->type() == QEvent::Close || (event->type() == QEvent::KeyPress &&
                                           static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape);
    if (watched == this && m_copying && closing) {
        m_closeRequested = true;
        event->ignore();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmProgConsole::ReportCopyInterrupted(const QString& detail) {
    QString text = LoadResString(1169) + QStringLiteral("\r\n") + LoadResString(1170);
    if (!detail.isEmpty()) {
        text += QStringLiteral("\r\n") + detail;
    }
    m_services.ui.Message(text, LoadResString(1115), MsgIcon::Warning);
}

// The file's user and pairs stay behind: the meter keeps neither.
frmProgConsole::Outcome frmProgConsole::CopyFileProgramToMeter(const ProgramRecord& strProgram,
                                                               bool fAll) {
    CUsrDefProg& store = m_services.usrDefProg;
    const QString number = strProgram[ProgramField::NO];
    const bool exists = store.AlreadyExistsMeter(number);
    if (exists) {
        const MsgResult answer = m_services.ui.Message(
            ReplaceProgramQuestion(number, true), LoadResString(1095), MsgIcon::Question,
            fAll ? MsgButtons::YesNoCancel : MsgButtons::YesNo, MsgResult::No);
        if (answer == MsgResult::No) {
            return Outcome::Skipped;
        }
        if (answer == MsgResult::Cancel) {
            return Outcome::Cancelled;
        }
    }
    MeterTask task(m_services, this);
    if (!task.Run([&] { return exists ? store.Modify(strProgram) : store.AddNew(strProgram); },
                  [&] { Report(exists ? 1106 : 1088); })) {
        return Outcome::Failed;
    }
    if (!fAll) {
        Report(1160, 1054, MsgIcon::Information);
    }
    return Outcome::Done;
}

void frmProgConsole::cmdCopyToMeter_Click() {
    TrappedVoid(m_services.ui, [&] {
        const QListWidgetItem* item = SelectedItem(lstProgsPC);
        if (!item) {
            return;
        }
        const QString fileName = FileNameOf(item);
        ProgramRecord program = EmptyProgramRecord();
        if (!m_services.usrDefProg.ReadFromFile(program, fileName)) {
            Report(1103);
            return;
        }
        CopyFileProgramToMeter(program, false);
        if (!ShowMeterList()) {
            Report(1152);
        }
        UpdateButtons(false, false, fileName);
    });
}

void frmProgConsole::cmdCopyToMeterAll_Click() {
    TrappedVoid(m_services.ui, [&] {
        const std::optional<Selection> selection = RequiredSelection();
        if (!selection) {
            return;
        }
        QStringList fileNames;
        for (int row = 0; row < lstProgsPC->count(); ++row) {
            fileNames << FileNameOf(lstProgsPC->item(row));
        }
        CopyAll(fileNames, [&](const QString& fileName, int& copied) {
            ProgramRecord program = EmptyProgramRecord();
            if (fileName.isEmpty() || !m_services.usrDefProg.ReadFromFile(program, fileName)) {
                Report(1103);
                return false;
            }
            const Outcome outcome = CopyFileProgramToMeter(program, true);
            if (outcome == Outcome::Cancelled) {
                ReportCopyInterrupted();
            }
            if (outcome == Outcome::Cancelled || outcome == Outcome::Failed) {
                return false;
            }
            copied += outcome == Outcome::Done ? 1 : 0;
            if (!ShowMeterList()) {
                Report(1152);
                UpdateButtons(true, true, QString());
                return false;
            }
            UpdateButtons(*selection);
            return true;
        });
    });
}
