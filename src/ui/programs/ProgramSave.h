#pragma once

#include "programs/ProgramRecord.h"
#include "ui/app/TaskServices.h"

#include <optional>

class CCalibration;
class ProgramSelection;
class frmProgEdit;

// Saving the program editor's program, in the meter or as a file of the work directory:
// the fields checked first, the meter's question before a program is replaced, the console
// told which program to choose afterwards, and what counts as saved.
class ProgramSave {
public:
    ProgramSave(TaskServices services, CCalibration& calibration, ProgramSelection& selection,
                frmProgEdit& editor);

    // What the editor shows now, pairs included.
    ProgramRecord ShownProgram() const;
    // What the editor shows now counts as saved.
    void MarkSaved();
    bool Unsaved() const { return ShownProgram() != m_savedProgram; }
    // The shown program when every field is filled and numbers are numbers in the meter's
    // range; else a message and false.
    bool CollectChecked(ProgramRecord& strProgram);
    // Whether the program was written; nothing when the user kept the meter's program.
    std::optional<bool> SaveInMeter(const ProgramRecord& strProgram);
    void SaveAsFile(const ProgramRecord& strProgram);

private:
    bool CollectProgram(ProgramRecord& strProgram);
    bool NumbersAreNumbers(const ProgramRecord& strProgram);
    bool RangeFits(const ProgramRecord& strProgram);
    bool WriteToMeter(const ProgramRecord& strProgram, bool exists);

    TaskServices m_services;
    CCalibration& m_calibration;
    ProgramSelection& m_selection;
    frmProgEdit& m_editor;
    ProgramRecord m_savedProgram; // what was loaded or last saved
};
