#include "programs/CUsrDefProg.h"

#include "app/BusyState.h"
#include "app/CConfig.h"
#include "app/ErrorTrap.h"
#include "app/Ui.h"
#include "meter/CCommunication.h"
#include "meter/CDevice.h"
#include "meter/MeterCommands.h"
#include "meter/MeterLink.h"
#include "programs/ProgramAnswer.h"

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
constexpr int kAnswerTime_s = 4;
constexpr int kFirstProgram = 900;
constexpr int kLastProgram = 999;
// Meters with the reduced set of user methods accept 900 to 949 only.
constexpr int kLastProgramReduced = 949;

} // namespace

CUsrDefProg::CUsrDefProg(const MeterSession& meter, CConfig& config, const CDevice& device)
    : m_meter(meter), m_config(config), m_device(device),
      m_files(meter.ui, [this] { return WorkDir(); }) {}

QString CUsrDefProg::WorkDir() const {
    if (!m_workDir) {
        m_workDir = m_config.WorkDir();
    }
    return *m_workDir;
}

void CUsrDefProg::WorkDir(const QString& strWorkDir) {
    m_config.WorkDir(strWorkDir);
    m_workDir = m_config.WorkDir();
}

bool CUsrDefProg::Update() {
    const BusyState::Hold busy(m_meter.busy);
    m_updateEnabled = true;
    const bool ok = Trapped(m_meter.ui, false, [&] { return FillList(); });
    if (!ok) {
        m_list.Reset();
    }
    return ok;
}

bool CUsrDefProg::FillList() {
    if (!m_device.Online()) {
        m_list.Reset();
        return true;
    }
    QString answer;
    if (!Converse(MeterCommand::kProgramList + kLineEnd, answer, true)) {
        return false;
    }
    // Fields of an earlier list must not stay attached to other numbers when the reading
    // of the programs is stopped, so the list starts empty.
    m_list.SetNumbers(ProgramNumbersOfAnswer(answer, kMaxPrograms, [&] { m_meter.ui.Yield(); }));
    for (int i = 0; i < m_list.Count() && m_updateEnabled; ++i) {
        if (!RequestProgram(m_list.Entry(i).No(), m_list.Entry(i))) {
            return false;
        }
    }
    return true;
}

bool CUsrDefProg::StopUpdate() {
    m_updateEnabled = false;
    return true;
}

bool CUsrDefProg::ListMeter(QStringList& strProgList, short& intNumProgs) const {
    if (strProgList.size() < m_list.Count()) {
        return false;
    }
    for (int i = 0; i < m_list.Count(); ++i) {
        strProgList[i] = m_list.Entry(i).No();
    }
    intNumProgs = m_list.Count();
    return true;
}

bool CUsrDefProg::AlreadyExistsMeter(const QString& strProgNum) const {
    return m_list.Find(strProgNum) >= 0;
}

bool CUsrDefProg::GetFreeProgNumMeter(QString& strProgNum) {
    strProgNum.clear();
    return Trapped(m_meter.ui, false, [&] {
        const int last =
            m_device.HasReducedUserMethods(QString()) ? kLastProgramReduced : kLastProgram;
        for (int number = kFirstProgram; number <= last; ++number) {
            if (!AlreadyExistsMeter(QString::number(number))) {
                strProgNum = QString::number(number);
                return true;
            }
        }
        return false;
    });
}

bool CUsrDefProg::AddNew(const ProgramRecord& strProgram) {
    return WriteProgram(
        MeterCommand::WithArguments(MeterCommand::kNewProgram, MeterProgramEntry::kFieldCount),
        strProgram, false);
}

bool CUsrDefProg::Modify(const ProgramRecord& strProgram) {
    return WriteProgram(
        MeterCommand::WithArguments(MeterCommand::kReplaceProgram, MeterProgramEntry::kFieldCount),
        strProgram, true);
}

// The meter's copy is read back so that the list holds what the meter made of the fields.
bool CUsrDefProg::WriteProgram(const QString& prefix, const ProgramRecord& strProgram,
                               bool fReplace) {
    if (!IsProgramRecord(strProgram)) {
        return false;
    }
    return Trapped(m_meter.ui, false, [&] {
        QString answer;
        const bool written = Converse(ProgramWriteCommand(prefix, strProgram), answer) &&
                             answer == CCommunication::AnswerOK;
        MeterProgramEntry stored;
        if (!written || !RequestProgram(strProgram[ProgramField::NO], stored)) {
            return false;
        }
        return fReplace ? m_list.Replace(stored) : m_list.Insert(stored);
    });
}

bool CUsrDefProg::GetProgramMeter(ProgramRecord& strProgram, const QString& strProgNum) const {
    if (!IsProgramRecord(strProgram)) {
        return false;
    }
    strProgram.fill(QString());
    const int index = m_list.Find(strProgNum);
    if (index < 0) {
        return false;
    }
    m_list.Entry(index).CopyTo(strProgram);
    return true;
}

bool CUsrDefProg::Delete(const QString& strProgNum) {
    return Trapped(m_meter.ui, false, [&] {
        return SendAcknowledged(MeterCommand::WithArguments(MeterCommand::kDeleteProgram, 1) +
                                strProgNum + kLineEnd) &&
               m_list.Remove(strProgNum);
    });
}

bool CUsrDefProg::DeleteAll() {
    return Trapped(m_meter.ui, false, [&] {
        if (!SendAcknowledged(MeterCommand::kDeleteAllPrograms + kLineEnd)) {
            return false;
        }
        m_list.Reset();
        return true;
    });
}

bool CUsrDefProg::RequestProgram(const QString& strProgNum, MeterProgramEntry& entry) {
    QString answer;
    return Converse(MeterCommand::WithArguments(MeterCommand::kReadProgram, 1) + strProgNum +
                        kLineEnd,
                    answer) &&
           ParseProgramAnswer(answer, entry);
}

bool CUsrDefProg::SendAcknowledged(const QString& strCommand) {
    QString answer;
    Converse(strCommand, answer);
    return CCommunication::EndsWithOK(answer);
}

bool CUsrDefProg::Converse(const QString& strCommand, QString& strAnswer, bool fAbortOnFailure) {
    const BusyState::Hold busy(m_meter.busy);
    strAnswer.clear();
    MeterLink& link = m_meter.link;
    const CCommunication& com = m_meter.communication;
    if (!link.COMInit(com.COMPort, com.Baudrate, kAnswerTime_s)) {
        return false;
    }
    QString opening;
    bool ok = link.COMSendAndReceive(MeterCommand::kOpen + kLineEnd, opening);
    if (ok) {
        ok = link.COMSendAndReceive(strCommand, strAnswer);
        if (!ok && fAbortOnFailure) {
            // The failure may be a stop from the wait dialog: the link must be active
            // again before the meter can be told to drop the transfer.
            link.COMContinue();
            QString ignored;
            link.COMSendAndReceive(MeterCommand::kEnd + kLineEnd, ignored);
        }
    }
    link.COMDeinit();
    return ok;
}
