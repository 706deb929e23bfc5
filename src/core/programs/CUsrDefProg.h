#pragma once

#include "meter/MeterSession.h"
#include "programs/MeterProgramList.h"
#include "programs/ProgramRecord.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

class QFileInfo;
class CConfig;
class CDevice;

// The user-defined programs in both their stores: the meter (through the command
// protocol, with an in-memory copy of its list) and the program files of the work
// directory. Every operation answers true on success; failures are told by false only,
// the calling window chooses the message. Run-time errors go through the error trap.
class CUsrDefProg {
public:
    static constexpr int kMaxPrograms = MeterProgramList::kCapacity;

    CUsrDefProg(const MeterSession& meter, CConfig& config, const CDevice& device)
        : m_meter(meter), m_config(config), m_device(device) {}

    // The work directory, taken from the configuration on first use and on every write.
    QString WorkDir() const;
    void WorkDir(const QString& strWorkDir);

    // Meter side. Update fills the list from the meter (offline: empties it, true).
    bool Update();
    // Ends an Update after the program being read (the wait dialog closing).
    bool StopUpdate();
    bool ListMeter(QStringList& strProgList, short& intNumProgs) const;
    bool AlreadyExistsMeter(const QString& strProgNum) const;
    bool GetFreeProgNumMeter(QString& strProgNum);
    bool AddNew(const ProgramRecord& strProgram);
    bool Modify(const ProgramRecord& strProgram);
    bool GetProgramMeter(ProgramRecord& strProgram, const QString& strProgNum) const;
    bool Delete(const QString& strProgNum);
    bool DeleteAll();

    // Work directory side. File names are names inside the work directory.
    bool ListPC(QStringList& strProgNumList, QStringList& strFileNameList, short& intNumProgs);
    bool SaveToFile(const ProgramRecord& strProgram, const QString& strFilePath);
    bool ReadFromFile(ProgramRecord& strProgram, const QString& strFileName);
    bool DeleteFile(const QString& strFileName);
    bool DeleteFileAll();

private:
    // One conversation: the opening command, then the command; the link is released in every case.
    bool Converse(const QString& strCommand, QString& strAnswer, bool fAbortOnFailure = false);
    bool FillList();
    bool RequestProgram(const QString& strProgNum, MeterProgramEntry& entry);
    bool WriteProgram(const QString& prefix, const ProgramRecord& strProgram, bool fReplace);
    bool SendAcknowledged(const QString& strCommand);
    QString PathInWorkDir(const QString& strFileName) const;
    // A listed file; one that cannot be read is reported once until it changes (the
    // console lists every five seconds).
    bool ReadListedFile(ProgramRecord& strProgram, const QFileInfo& file);

    MeterSession m_meter;
    CConfig& m_config;
    const CDevice& m_device;
    MeterProgramList m_list;
    bool m_updateEnabled = false;
    mutable std::optional<QString> m_workDir;
    QHash<QString, QString> m_reportedUnreadable; // path -> what it was when reported
};
