#pragma once

#include <QString>

class CMeasVal;
struct MValSet;

// The recovery copy (RecoveryStore) of a document's unsaved dataset: a new one for each
// import, none once the dataset is saved, replaced by a file or dropped by the user's choice.
class DocumentRecovery {
public:
    // Written as soon as the import has ended, before anything else can hold the program up
    // (the archive's database, a question): whatever ends the program from then on, a
    // signal or a crash, the import is on disk.
    void Keep(CMeasVal& measVal, const MValSet& mvals);
    void Drop();
    // A copy a previous run left, shown again: it is written again in the same place.
    void Adopt(const QString& path);
    // The copy of the dataset shown, or empty.
    const QString& Path() const { return m_path; }

private:
    QString m_path;
};
