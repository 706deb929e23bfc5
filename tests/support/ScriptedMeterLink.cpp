#include "support/ScriptedMeterLink.h"

#include <algorithm>

QString ScriptedMeterLink::OkAnswer(const QString& value) {
    return QStringLiteral("\r\n") + value + QStringLiteral("\r\n!\r\n>");
}

QString ScriptedMeterLink::RefusedAnswer() {
    return QStringLiteral("\r\n?\r\n>");
}

void ScriptedMeterLink::Script(const QString& command, std::deque<QString> answers) {
    m_script[command] = std::move(answers);
}

void ScriptedMeterLink::ScriptOk(const QString& command, const QString& value) {
    Script(command, {OkAnswer(value)});
}

bool ScriptedMeterLink::COMScanPorts(int& intPortNum, QString& strBaudrate) {
    calls << QStringLiteral("COMScanPorts");
    return Scan(intPortNum, strBaudrate);
}

bool ScriptedMeterLink::COMScanPortsAgain(int& intPortNum, QString& strBaudrate) {
    calls << QStringLiteral("COMScanPortsAgain");
    return Scan(intPortNum, strBaudrate);
}

bool ScriptedMeterLink::Scan(int& intPortNum, QString& strBaudrate) {
    active = true;
    stopped = false;
    if (duringScan) {
        duringScan();
    }
    const bool found = meterPresent && active;
    intPortNum = found ? port : 0;
    strBaudrate = found ? baud : QString();
    active = false;
    return found;
}

bool ScriptedMeterLink::COMInit(int intPortNum, const QString& strBaudrate, int intMaxAnswTime_s) {
    calls << QStringLiteral("COMInit %1 %2 %3")
                 .arg(intPortNum)
                 .arg(strBaudrate)
                 .arg(intMaxAnswTime_s);
    answerTime = intMaxAnswTime_s;
    active = true;
    stopped = false;
    return initSucceeds;
}

bool ScriptedMeterLink::COMSendAndReceive(const QString& strSend, QString& strAnswer) {
    sent << strSend;
    calls << QStringLiteral("send ") + strSend.trimmed();
    strAnswer.clear();
    auto it = m_script.find(strSend);
    if (!active || it == m_script.end() || it->empty()) {
        return false;
    }
    strAnswer = it->front();
    if (it->size() > 1) {
        it->pop_front();
    }
    const qsizetype piece =
        receivePiece > 0 ? receivePiece : std::max<qsizetype>(1, strAnswer.size());
    for (qsizetype at = 0; at < strAnswer.size(); at += piece) {
        Received(QStringView(strAnswer).mid(at, piece));
    }
    return !strAnswer.isEmpty();
}

bool ScriptedMeterLink::COMChangeAnswerTime(int intMaxAnswTime_s) {
    calls << QStringLiteral("COMChangeAnswerTime %1").arg(intMaxAnswTime_s);
    answerTime = intMaxAnswTime_s;
    return true;
}

bool ScriptedMeterLink::COMDeinit() {
    calls << QStringLiteral("COMDeinit");
    active = false;
    return true;
}

bool ScriptedMeterLink::COMStop() {
    calls << QStringLiteral("COMStop");
    active = false;
    stopped = true;
    return true;
}

bool ScriptedMeterLink::COMContinue() {
    calls << QStringLiteral("COMContinue");
    active = true;
    stopped = false;
    return true;
}
