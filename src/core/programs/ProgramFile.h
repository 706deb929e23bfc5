#pragma once

#include "programs/ProgramRecord.h"

#include <QString>

// The program file of the work directory: 13 lines separated by CR LF, no CR LF after the
// last one: the header, the values, "PAIRS_OF_VARIATES" and ten "X;Y" lines.
QString FormatProgramFile(const ProgramRecord& strProgram);

// Accepts the current 15-field header and the older 12-field one (whose files get the
// three flags "0"). On false the record is left as it was.
bool ParseProgramFile(const QString& strText, ProgramRecord& strProgram);
