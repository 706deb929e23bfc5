#pragma once

#include "meter/MeterLink.h"

#include <QHash>
#include <QStringList>
#include <deque>
#include <functional>

// A meter link that answers each command from a script, for testing the services that
// build commands and parse answers. Unscripted commands fail like a silent meter.
class ScriptedMeterLink : public MeterLink {
public:
    static QString OkAnswer(const QString& value); // CR LF value CR LF ! CR LF >
    static QString RefusedAnswer();                // CR LF ? CR LF >

    // Answers given in turn for one command line (CR LF included); the last one repeats.
    void Script(const QString& command, std::deque<QString> answers);
    void ScriptOk(const QString& command, const QString& value);

    bool COMScanPorts(int& intPortNum, QString& strBaudrate) override;
    bool COMScanPortsAgain(int& intPortNum, QString& strBaudrate) override;
    bool COMInit(int intPortNum, const QString& strBaudrate, int intMaxAnswTime_s) override;
    bool COMSendAndReceive(const QString& strSend, QString& strAnswer) override;
    bool COMChangeAnswerTime(int intMaxAnswTime_s) override;
    bool COMDeinit() override;
    bool COMStop() override;
    bool COMContinue() override;
    bool COMStopped() const override { return stopped; }

    bool meterPresent = true;
    int port = 1;
    QString baud = QStringLiteral("4800");
    bool initSucceeds = true;

    QStringList sent;  // every command line sent
    QStringList calls; // every operation: "COMInit 1 4800 4", "COMDeinit", ...
    bool active = false;
    bool stopped = false;
    // Runs inside every COMScanPorts, e.g. to stop the search as a closed wait dialog does.
    std::function<void()> duringScan;
    int answerTime = 0;
    // An answer is told to the receive hook in pieces of this many characters (0: whole).
    int receivePiece = 0;

private:
    bool Scan(int& intPortNum, QString& strBaudrate);

    QHash<QString, std::deque<QString>> m_script;
};
