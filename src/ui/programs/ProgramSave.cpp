// Saving the edited program: in the meter or as a file of the work directory.

#include "ui/programs/ProgramSave.h"

#include "app/NumberText.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "calibration/CCalibration.h"
#include "programs/CUsrDefProg.h"
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

ProgramSave::ProgramSave(TaskServices services, CCalibration& calibration,
                         ProgramSelection& selection, frmProgEdit& editor)
    : m_services(services), m_calibration(calibration), m_selection(selection), m_editor(editor) {}

ProgramRecord ProgramSave::ShownProgram() const {
    ProgramRecord program = EmptyProgramRecord();
    m_editor.fraProgram->CollectInto(program);
    for (int i = 0; i < kNumPairs; ++i) {
        program[ProgramField::PairX(i)] = m_editor.txtValX[i]->text();
        program[ProgramField::PairY(i)] = m_editor.txtValY[i]->text();
    }
    return program;
}

void ProgramSave::MarkSaved() {
    m_savedProgram = ShownProgram();
}

bool ProgramSave::CollectProgram(ProgramRecord& strProgram) {
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
bool ProgramSave::NumbersAreNumbers(const ProgramRecord& strProgram) {
    using namespace ProgramField;
    const int bad = FirstNonNumericField(strProgram);
    if (bad < 0) {
        return true;
    }
    const std::map<int, std::pair<int, QLineEdit*>> fields = {
        {MRB, {1080, m_editor.fraProgram->txtMRB}},
        {MRE, {1081, m_editor.fraProgram->txtMRE}},
        {E0, {1082, m_editor.fraProgram->txtE0}},
        {SLOPE, {1083, m_editor.fraProgram->txtSlope}},
    };
    const auto& [label, box] = fields.at(bad);
    m_services.ui.Message(LoadResString(label) + QLatin1Char(' ') + LoadResString(1402),
                          LoadResString(1115), MsgIcon::Warning);
    if (box->isEnabled()) {
        box->setFocus();
    }
    return false;
}

bool ProgramSave::RangeFits(const ProgramRecord& strProgram) {
    using namespace ProgramField;
    const auto single = [&](int index) {
        return static_cast<float>(LeadingNumber(strProgram[index]));
    };
    if (m_calibration.CheckMeasRange(single(MRB), single(MRE), single(E0), single(SLOPE))) {
        return true;
    }
    m_services.ui.Message(LoadResString(1212) + kCrLf + LoadResString(1213), LoadResString(1115),
                          MsgIcon::Warning);
    return false;
}

// "Non" leaves the meter alone, and the edited values too (a transferred zero point and
// slope among them).
std::optional<bool> ProgramSave::SaveInMeter(const ProgramRecord& strProgram) {
    const QString number = strProgram[ProgramField::NO];
    if (!m_services.usrDefProg.AlreadyExistsMeter(number)) {
        return WriteToMeter(strProgram, false);
    }
    if (m_services.ui.Message(ReplaceProgramQuestion(number, m_selection.NewProgramPressed()),
                              LoadResString(1095), MsgIcon::Question, MsgButtons::YesNo,
                              MsgResult::No) != MsgResult::Yes) {
        return std::nullopt;
    }
    return WriteToMeter(strProgram, true);
}

bool ProgramSave::CollectChecked(ProgramRecord& strProgram) {
    return CollectProgram(strProgram) && RangeFits(strProgram);
}

bool ProgramSave::WriteToMeter(const ProgramRecord& strProgram, bool exists) {
    CUsrDefProg& store = m_services.usrDefProg;
    MeterTask task(m_services, &m_editor);
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

void ProgramSave::SaveAsFile(const ProgramRecord& strProgram) {
    const std::optional<QString> path = AskProgramFilePath(
        m_services.ui, m_services.usrDefProg.WorkDir(), strProgram[ProgramField::NO]);
    if (!path) {
        return;
    }
    if (m_services.usrDefProg.SaveToFile(strProgram, *path)) {
        MarkSaved();
    } else {
        m_services.ui.Message(LoadResString(1088), LoadResString(1033), MsgIcon::Critical);
    }
    m_selection.RequestSelProgram(QString(), QFileInfo(*path).fileName(), false);
}
