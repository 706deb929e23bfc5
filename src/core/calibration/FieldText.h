#pragma once

#include <QString>
#include <QStringList>

// Conversions of the protocol's text fields. A text that is not a number where one is
// needed is a run-time error (MervexError), as the classic conversions raise it.

// The whole text as a 16-bit integer (rounded half to even).
short IntegerField(const QString& text);
// "True"/"False" in any letter case, or a number where non-zero is true.
bool BooleanField(const QString& text);
// The words the files use for a flag.
QString BooleanText(bool value);

// The text split at `separator` into at most `maxParts` fields; the last takes the rest.
QStringList FieldsAtMost(const QString& text, const QString& separator, int maxParts);
