#pragma once

#include <QString>

struct CalProtocolRecord;

// The protocol file: ten lines separated by CR LF (none after the last), fields by ";".
// Lines 1, 3, 5, 7 and 9 are headers; every line is written for both kinds of protocol.

QString ProtocolFileText(const CalProtocolRecord& record);

// Parses a whole file into a cleared record and sets Valid; false for a file that is not
// a protocol file (the record may then be partly filled). Non-numeric text where a
// number or flag is needed throws MervexError.
bool ParseProtocolFile(const QString& text, CalProtocolRecord& record);

enum class ProtocolFileKind { None, PH, Turbidity };

// Whether the file at `path` is a protocol file, and of which kind. Any file the program
// cannot read or parse as a protocol (a dataset file above all) gives None.
ProtocolFileKind ProtocolKindOfFile(const QString& path);
