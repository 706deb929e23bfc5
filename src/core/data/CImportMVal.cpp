#include "data/CImportMVal.h"

#include "app/BusyState.h"
#include "app/ErrorTrap.h"
#include "app/Ui.h"
#include "data/RecordWalker.h"
#include "data/TransferProgress.h"
#include "meter/CCommunication.h"
#include "meter/MeterCommands.h"
#include "meter/MeterLink.h"

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
constexpr int kAnswerTime_s = 4;
// The whole data memory comes as one answer, which takes long at low baud rates.
constexpr int kTransferAnswerTime_s = 600;

} // namespace

bool CImportMVal::GetMVals(QString& strMVals) {
    const BusyState::Hold busy(m_meter.busy);
    strMVals.clear();
    const bool ok = Trapped(m_meter.ui, false, [&] { return ReceiveMVals(strMVals); });
    if (!ok) {
        strMVals.clear();
    }
    return ok;
}

bool CImportMVal::ReceiveMVals(QString& strMVals) {
    MeterLink& link = m_meter.link;
    const CCommunication& com = m_meter.communication;
    if (!link.COMInit(com.COMPort, com.Baudrate, kAnswerTime_s)) {
        return false;
    }
    QString answer;
    if (!link.COMSendAndReceive(MeterCommand::kOpen + kLineEnd, answer)) {
        link.COMDeinit();
        return false;
    }
    link.COMChangeAnswerTime(kTransferAnswerTime_s);
    // A refused command comes back as a completed exchange; it is a failed transfer all
    // the same, and the meter expects the abort command after it.
    if (ReceiveDataMemory(strMVals) && CCommunication::EndsWithOK(strMVals)) {
        return link.COMDeinit();
    }
    strMVals.clear();
    AbortTransfer();
    return false;
}

bool CImportMVal::ReceiveDataMemory(QString& strMVals) {
    MeterLink& link = m_meter.link;
    TransferProgress progress(m_progressHook);
    if (m_progressHook) {
        link.SetReceiveHook([&progress](QStringView piece) { progress.Feed(piece); });
    }
    const bool received = link.COMSendAndReceive(MeterCommand::kDataMemory + kLineEnd, strMVals);
    link.SetReceiveHook({});
    return received;
}

// After a stop (the user closed the wait dialog) the link must be made active again
// before the meter can be told to drop the rest of the transfer.
void CImportMVal::AbortTransfer() {
    MeterLink& link = m_meter.link;
    link.COMContinue();
    link.COMChangeAnswerTime(kAnswerTime_s);
    QString ignored;
    link.COMSendAndReceive(MeterCommand::kEnd + kLineEnd, ignored);
    link.COMDeinit();
}

bool CImportMVal::ExtractNextRecSet(QStringList& strMValRecSet, QString& strMVals, short intNum) {
    return Trapped(m_meter.ui, false, [&] {
        if (strMValRecSet.size() < intNum) {
            return false;
        }
        const qsizetype length = RecordLineLength(strMVals);
        if (length < 0) {
            return false;
        }
        SplitRecordLine(QStringView(strMVals).left(length), strMValRecSet, intNum);
        strMVals.remove(0, length);
        return true;
    });
}
