#pragma once

#include "app/Ui.h"

#include <QString>
#include <optional>

// "(Programme No: 905)": how the windows name a program in their questions.
QString ProgramNumberInBrackets(const QString& strProgNum);

// The question before a program in the meter is overwritten; a new program is told first
// that the number already exists.
QString ReplaceProgramQuestion(const QString& strProgNum, bool fAlreadyExists);

// The save dialog for a program file: "PROG " + number in the work directory (when it
// exists), ".csv" added, overwriting asked. Nothing when the user cancelled.
std::optional<QString> AskProgramFilePath(Ui& ui, const QString& workDir,
                                          const QString& strProgNum);

// Message `message` of the string table under the title `title`.
void ReportProgramMessage(Ui& ui, int message, int title = 1033, MsgIcon icon = MsgIcon::Critical);
