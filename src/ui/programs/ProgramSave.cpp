// Saving the edited program: in the meter or as a file of the work directory.

#include "app/ErrorTrap.h"
#include "app/NumberText.h"
#include "app/Services.h"
#include "app/TextTables.h"
#include "ui/app/MeterTask.h"
#include "ui/programs/ProgramMessages.h"
#include "ui/programs/ProgramPanel.h"
#include "ui/programs/ProgramSelection.h"
#include "ui/programs/frmProgEdit.h"

#include <QFileInfo>
#include <QLineEdit>
#include <map>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

} // namespace

ProgramRecord frmProgEdit::ShownProgram() const {
    ProgramRecord program = EmptyProgramRecord();
    fraProgram->CollectInto(program);
    for (int i = 0; i < kNumPairs; ++i) {
        program[ProgramField::PairX(i)] = txtValX[i]->text();
        program[ProgramField::PairY(i)] = txtValY[i]->text();
    }
    return program;
}

void frmProgEdit::MarkSaved() {
    m_savedProgram = ShownProgram();
}

void frmProgEdit::reject() {
    if (ShownProgram() != m_savedProgram &&
        m_services.ui.Message(LoadResString(1403), LoadResString(1115), MsgIcon::Question,
                              MsgButtons::YesNo, MsgResult::No) != MsgResult::Yes) {
        return;
    }
    QDialog::reject();
}

bool frmProgEdit::CollectProgram(ProgramRecord& strProgram) {
    strProgram = ShownProgram();
    for (int i = ProgramField::NO; i <= ProgramField::UNIT; ++i) {
        if (strProgram[i].isEmpty()) {
            m_services.ui.Message(LoadResString(1159), LoadResString(1115), MsgIcon::Warning);
            return false;
        }
    }
    return NumbersAreNumbers(strProgram);
}

// A ";" or a letter in these fields would shift every later field of the file and of
// the meter's command: the field is named and nothing is saved or sent.
bool frmProgEdit::NumbersAreNumbers(const ProgramRecord& strProgram) {
    using namespace ProgramField;
    const int bad = FirstNonNumericField(strProgram);
    if (bad < 0) {
        return true;
    }
    const std::map<int, std::pair<int, QLineEdit*>> fields = {
        {MRB, {1080, fraProgram->txtMRB}},
        {MRE, {1081, fraProgram->txtMRE}},
        {E0, {1082, fraProgram->txtE0}},
        {SLOPE, {1083, fraProgram->txtSlope}},
    };
    const auto& [label, box] = fields.at(bad);
    m_services.ui.Message(LoadResString(label) + QLatin1Char(' ') + LoadResString(1402),
                          LoadResString(1115), MsgIcon::Warning);
    if (box->isEnabled()) {
        box->setFocus();
    }
    return false;
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
        bool written = false;
        if (!m_services.usrDefProg.AlreadyExistsMeter(number)) {
            written = WriteToMeter(program, false);
        } else if (m_services.ui.Message(
                       ReplaceProgramQuestion(number, m_selection.NewProgramPressed()),
                       LoadResString(1095), MsgIcon::Question, MsgButtons::YesNo,
                       MsgResult::No) == MsgResult::Yes) {
            written = WriteToMeter(program, true);
        } else {
            // "Non" leaves the meter alone, and the edited values too (a transferred zero
            // point and slope among them).
            return;
        }
        ReloadFromMeter();
        if (written) {
            MarkSaved();
        }
    });
}

bool frmProgEdit::WriteToMeter(const ProgramRecord& strProgram, bool exists) {
    CUsrDefProg& store = m_services.usrDefProg;
    MeterTask task(m_services, this);
    const bool written =
        task.Run([&] { return exists ? store.Modify(strProgram) : store.AddNew(strProgram); });
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
        if (m_services.usrDefProg.SaveToFile(program, *path)) {
            MarkSaved();
        } else {
            m_services.ui.Message(LoadResString(1088), LoadResString(1033), MsgIcon::Critical);
        }
        m_selection.RequestSelProgram(QString(), QFileInfo(*path).fileName(), false);
    });
}
