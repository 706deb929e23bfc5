#pragma once

#include <QString>

// What the program editor asks of the window that opened it (the program console): why it
// was opened, which program is selected there, and which one to select afterwards.
class ProgramSelection {
public:
    virtual ~ProgramSelection() = default;

    // True when the editor was opened for a new program, false for a change.
    virtual bool NewProgramPressed() const = 0;
    // The selected program: a meter program (number) or a file (name); false for none.
    virtual bool GetSelProgram(QString& strProgNum, QString& strFileName, bool& fMeterSelected) = 0;
    // The program to select once the lists are refreshed.
    virtual bool RequestSelProgram(const QString& strProgNum, const QString& strFileName,
                                   bool fMeterSelected) = 0;
};
