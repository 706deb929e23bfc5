#pragma once

#include "programs/ProgramRecord.h"

#include <QString>
#include <QStringList>
#include <functional>

// The texts of the program commands and the parsing of their answers.

// The new or the replacing program's command with the 14 meter fields, then CR LF.
QString ProgramWriteCommand(const QString& prefix, const ProgramRecord& strProgram);

// The numbers of a program list answer: CR LF, each number followed by CR LF, then the rest
// of the OK terminator. Reading stops at the first line whose rest does not end with the
// terminator. More than `maxNumbers` numbers throws (the list cannot hold them).
// `afterEach` runs after every line taken (to let the window system breathe).
QStringList ProgramNumbersOfAnswer(const QString& strAnswer, int maxNumbers,
                                   const std::function<void()>& afterEach);

// One program answer: at least 15 ";"-separated fields ending with the OK terminator, the
// seventh field exactly "0". On false the entry is left as it was.
bool ParseProgramAnswer(const QString& strAnswer, MeterProgramEntry& entry);
