#pragma once

#include "meter/MeterSession.h"
#include "programs/MeterProgramList.h"
#include "programs/ProgramFileStore.h"
#include "programs/ProgramRecord.h"

#include <QString>
#include <QStringList>
#include <optional>

class CConfig;
class CDevice;

// The user-defined programs in both their stores: the meter (through the command
// protocol, with an in-memory copy of its list) and the program files of the work
// directory. Every operation answers true on success; failures are told by false only,
// the calling window chooses the message. Run-time errors go through the error trap.
class CUsrDefProg {
public:
    static constexpr int kMaxPrograms = MeterProgramList::kCapacity;

    CUsrDefProg(const MeterSession& meter, CConfig& config, const CDevice& device);
    CUsrDefProg(const CUsrDefProg&) = delete;
    CUsrDefProg& operator=(const CUsrDefProg&) = delete;

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

    // Work directory side (ProgramFileStore). File names are names inside the work directory.
    bool ListPC(QStringList& strProgNumList, QStringList& strFileNameList, short& intNumProgs) {
        return m_files.List(strProgNumList, strFileNameList, intNumProgs);
    }
    bool SaveToFile(const ProgramRecord& strProgram, const QString& strFilePath) {
        return m_files.Save(strProgram, strFilePath);
    }
    bool ReadFromFile(ProgramRecord& strProgram, const QString& strFileName) {
        return m_files.Read(strProgram, strFileName);
    }
    bool DeleteFile(const QString& strFileName) { return m_files.Delete(strFileName); }
    bool DeleteFileAll() { return m_files.DeleteAll(); }

private:
    // One conversation: the opening command, then the command; the link is released in every case.
    bool Converse(const QString& strCommand, QString& strAnswer, bool fAbortOnFailure = false);
    bool FillList();
    bool RequestProgram(const QString& strProgNum, MeterProgramEntry& entry);
    bool WriteProgram(const QString& prefix, const ProgramRecord& strProgram, bool fReplace);
    bool SendAcknowledged(const QString& strCommand);

    MeterSession m_meter;
    CConfig& m_config;
    const CDevice& m_device;
    MeterProgramList m_list;
    bool m_updateEnabled = false;
    mutable std::optional<QString> m_workDir;
    ProgramFileStore m_files;
};
