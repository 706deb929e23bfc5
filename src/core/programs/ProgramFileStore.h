#pragma once

#include "programs/MeterProgramList.h"
#include "programs/ProgramRecord.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>

class QFileInfo;
class Ui;

// The program files of the work directory, one per program, for the program store
// (CUsrDefProg). Names are names inside the directory `workDir` gives at each call, so that
// a directory changed in the configuration is followed. Every operation answers true on
// success; run-time errors go through the error trap.
class ProgramFileStore {
public:
    // As many files as the meter holds programs are listed.
    static constexpr int kMaxFiles = MeterProgramList::kCapacity;

    ProgramFileStore(Ui& ui, std::function<QString()> workDir)
        : m_ui(ui), m_workDir(std::move(workDir)) {}

    // The lists are pre-sized to kMaxFiles and filled in the file system's order; false when
    // they are smaller or the directory does not exist.
    bool List(QStringList& strProgNumList, QStringList& strFileNameList, short& intNumProgs);
    // strFilePath is a full path, chosen by the caller.
    bool Save(const ProgramRecord& strProgram, const QString& strFilePath);
    bool Read(ProgramRecord& strProgram, const QString& strFileName);
    // Into the recycle bin; a file that could not be moved there is a failure.
    bool Delete(const QString& strFileName);
    // Every listed file or none.
    bool DeleteAll();

private:
    QString PathInWorkDir(const QString& strFileName) const;
    // A listed file; one that cannot be read is reported once until it changes (the
    // console lists every five seconds).
    bool ReadListedFile(ProgramRecord& strProgram, const QFileInfo& file);

    Ui& m_ui;
    std::function<QString()> m_workDir;
    QHash<QString, QString> m_reportedUnreadable; // path -> what it was when reported
};
