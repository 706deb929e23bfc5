// Copying programs between the meter and the work directory, one or all.

#include "ui/programs/ProgramCopy.h"

#include "app/BusyState.h"
#include "app/Paths.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "meter/CLogin.h"
#include "programs/CUsrDefProg.h"
#include "ui/app/MeterTask.h"
#include "ui/app/frmWait.h"
#include "ui/programs/ProgramMessages.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <utility>

ProgramCopy::ProgramCopy(TaskServices services, const CLogin& login, QDialog& console)
    : m_services(services), m_login(login), m_console(console) {}

std::optional<ProgramRecord> ProgramCopy::MeterProgramForFile(const QString& strProgNum) {
    ProgramRecord program = EmptyProgramRecord();
    if (!m_services.usrDefProg.GetProgramMeter(program, strProgNum)) {
        ReportProgramMessage(m_services.ui, 1158, 1115, MsgIcon::Warning);
        return std::nullopt;
    }
    program[ProgramField::USER] = m_login.UserName();
    return program;
}

// Messages for a program that cannot be read or written are shown here; a cancelled save
// dialog is left to the caller.
ProgramCopy::Outcome ProgramCopy::SaveMeterProgramToFile(const QString& strProgNum) {
    const std::optional<ProgramRecord> program = MeterProgramForFile(strProgNum);
    if (!program) {
        return Outcome::Failed;
    }
    const std::optional<QString> path =
        AskProgramFilePath(m_services.ui, m_services.usrDefProg.WorkDir(), strProgNum);
    if (!path) {
        return Outcome::Cancelled;
    }
    if (!m_services.usrDefProg.SaveToFile(*program, *path)) {
        ReportProgramMessage(m_services.ui, 1088);
        return Outcome::Failed;
    }
    return Outcome::Done;
}

ProgramCopy::Tally ProgramCopy::CopyMeterProgramsInto(const QString& folder,
                                                      const QStringList& numbers, bool& cancelled) {
    Tally tally;
    cancelled = false;
    CopyAll(numbers, [&](const QString& number, int& copied) {
        const Outcome outcome = CopyMeterProgramInto(folder, number, tally);
        cancelled = outcome == Outcome::Cancelled;
        copied += outcome == Outcome::Done ? 1 : 0;
        return outcome == Outcome::Done || outcome == Outcome::Skipped;
    });
    return tally;
}

ProgramCopy::Outcome ProgramCopy::CopyMeterProgramInto(const QString& folder,
                                                       const QString& strProgNum, Tally& tally) {
    const std::optional<ProgramRecord> program = MeterProgramForFile(strProgNum);
    if (!program) {
        return Outcome::Failed;
    }
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
    if (!m_services.usrDefProg.SaveToFile(*program, path)) {
        ReportProgramMessage(m_services.ui, 1088);
        return Outcome::Failed;
    }
    ++(exists ? tally.replaced : tally.copied);
    return Outcome::Done;
}

void ProgramCopy::ReportCopyAll(const QString& folder, const Tally& tally, bool interrupted) {
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
void ProgramCopy::CopyAll(const QStringList& entries, const Step& copyOne) {
    const auto progress = [&](int n) { return LoadResString(1540).arg(n).arg(entries.size()); };
    int copied = 0;
    bool stopped = false;
    {
        const QScopedValueRollback<bool> copying(m_copying, true);
        MeterTask task(m_services, &m_console, progress(1));
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
        m_console.reject();
    }
}

void ProgramCopy::ReportCopyInterrupted(const QString& detail) {
    QString text = LoadResString(1169) + QStringLiteral("\r\n") + LoadResString(1170);
    if (!detail.isEmpty()) {
        text += QStringLiteral("\r\n") + detail;
    }
    m_services.ui.Message(text, LoadResString(1115), MsgIcon::Warning);
}

// The file's user and pairs stay behind: the meter keeps neither.
ProgramCopy::Outcome ProgramCopy::CopyFileProgramToMeter(const ProgramRecord& strProgram,
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
    MeterTask task(m_services, &m_console);
    if (!task.Run([&] { return exists ? store.Modify(strProgram) : store.AddNew(strProgram); },
                  [&] { ReportProgramMessage(m_services.ui, exists ? 1106 : 1088); })) {
        return Outcome::Failed;
    }
    if (!fAll) {
        ReportProgramMessage(m_services.ui, 1160, 1054, MsgIcon::Information);
    }
    return Outcome::Done;
}
