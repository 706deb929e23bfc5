#pragma once

#include <QString>

struct MValSet;

// The name (without extension) the file dialogs propose for a dataset: the name of the
// file it was opened from or saved to, so that its export and PDF are "Mesures été.xlsx"
// and "Mesures été.pdf"; for an import never saved, "MODEL SERIAL YYYY-MM-DD" of the
// import's date; for an empty document, the meter model.
QString ProposedDatasetName(const MValSet& mvals, const QString& filePath);

// `name` with the characters that no file system takes in a name ("/", "\", ":", "*",
// "?", '"', "<", ">", "|" and control characters) replaced by "-".
QString FileNameSafe(QString name);
