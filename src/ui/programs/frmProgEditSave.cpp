// Saving the edited program: in the meter or as a file of the work directory.

#include "app/ErrorTrap.h"
#include "app/NumberText.h"
#include "app/Services.h"
#include "app/StringTable.h"
#include "ui/programs/ProgramMessages.h"
#include "ui/programs/ProgramPanel.h"
#include "ui/programs/ProgramSelection.h"
#include "ui/programs/WaitPointer.h"
#include "ui/programs/frmProgEdit.h"

#include <QFileInfo>
#include <QLineEdit>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

bool frmProgEdit::CollectProgram(ProgramRecord& strProgram) {
    strProgram = EmptyProgramRecord();
    fraProgram->CollectInto(strProgram);
    for (int i = 0; i < kNumPairs; ++i) {
        strProgram[ProgramField::PairX(i)] = txtValX[i]->text();
        strProgram[ProgramField::PairY(i)] = txtValY[i]->text();
    }
    for (int i = ProgramField::NO; i <= ProgramField::UNIT; ++i) {
        if (strProgram[i].isEmpty()) {
            m_services.ui.Message(LoadResString(1159), LoadResString(1115), MsgIcon::Warning);
            return false;
        }
    }
    return true;
}

bool frmProgEdit::RangeFits(const ProgramRecord& strProgram) {
    using namespace ProgramField;
    const auto single = [&](int index) {
        return static_cast<float>(LeadingNumber(strProgram[index]));
    };
    if (m_services.calibration.CheckMeasRange(single(MRB), single(MRE), single(E0),
                                              single(SLOPE))) {
        return true;
    }
    m_services.ui.Message(LoadResString(1212) + kCrLf + LoadResString(1213), LoadResString(1115),
                          MsgIcon::Warning);
    return false;
}

void frmProgEdit::cmdSaveDevice_Click() {
    TrappedVoid(m_services.ui, [&] {
        ProgramRecord program;
        if (!CollectProgram(program) || !RangeFits(program)) {
            return;
        }
        const QString number = fraProgram->txtProgNum->text();
        if (!m_services.usrDefProg.AlreadyExistsMeter(number)) {
            WriteToMeter(program, false);
        } else if (m_services.ui.Message(
                       ReplaceProgramQuestion(number, m_selection.NewProgramPressed()),
                       LoadResString(1095), MsgIcon::Question, MsgButtons::YesNo,
                       MsgResult::No) == MsgResult::Yes) {
            WriteToMeter(program, true);
        }
        ReloadFromMeter();
    });
}

bool frmProgEdit::WriteToMeter(const ProgramRecord& strProgram, bool exists) {
    bool written = false;
    {
        WaitPointer busy([this](int pointer) { SetBusy(pointer == 11); });
        CUsrDefProg& store = m_services.usrDefProg;
        written = exists ? store.Modify(strProgram) : store.AddNew(strProgram);
    }
    m_selection.RequestSelProgram(strProgram[ProgramField::NO], QString(), true);
    if (written) {
        m_services.ui.Message(LoadResString(1160), LoadResString(1054), MsgIcon::Information);
    } else {
        m_services.ui.Message(LoadResString(exists ? 1106 : 1088), LoadResString(1033),
                              MsgIcon::Critical);
    }
    return written;
}

// The fields show what the meter list now holds for the number; the pairs stay.
void frmProgEdit::ReloadFromMeter() {
    if (!LoadProgram(Source::Meter, fraProgram->txtProgNum->text(), false)) {
        m_services.ui.Message(LoadResString(1103), LoadResString(1033), MsgIcon::Critical);
    }
    fraProgram->txtUserName->setText(m_services.login.UserName());
}

void frmProgEdit::cmdSaveFile_Click() {
    TrappedVoid(m_services.ui, [&] {
        ProgramRecord program;
        if (!CollectProgram(program) || !RangeFits(program)) {
            return;
        }
        const std::optional<QString> path =
            AskProgramFilePath(m_services, program[ProgramField::NO]);
        if (!path) {
            return;
        }
        if (!m_services.usrDefProg.SaveToFile(program, *path)) {
            m_services.ui.Message(LoadResString(1088), LoadResString(1033), MsgIcon::Critical);
        }
        m_selection.RequestSelProgram(QString(), QFileInfo(*path).fileName(), false);
    });
}

void frmProgEdit::SetBusy(bool busy) {
    if (busy) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
}
