#pragma once

#include <QString>
#include <QStringView>
#include <functional>

// The conversation with the meter as every consumer sees it: start a conversation on the
// port found by the search, exchange command lines, end it. The serial implementation
// owns the ports; tests put a scripted link in its place.
class MeterLink {
public:
    virtual ~MeterLink() = default;

    // Searches every port at every baud rate; on success instance 0 stays open.
    virtual bool COMScanPorts(int& intPortNum, QString& strBaudrate) = 0;
    // The same search repeated within one command: what the first pass said is not
    // said again.
    virtual bool COMScanPortsAgain(int& intPortNum, QString& strBaudrate) {
        return COMScanPorts(intPortNum, strBaudrate);
    }
    virtual bool COMInit(int intPortNum, const QString& strBaudrate, int intMaxAnswTime_s) = 0;
    // Sends the text unchanged (the caller appends CR LF); the raw answer, terminator
    // included, or "" with false.
    virtual bool COMSendAndReceive(const QString& strSend, QString& strAnswer) = 0;
    virtual bool COMChangeAnswerTime(int intMaxAnswTime_s) = 0;
    virtual bool COMDeinit() = 0;
    virtual bool COMStop() = 0;
    virtual bool COMContinue() = 0;
    // True when COMStop ended the last search or wait, until the link is started again.
    virtual bool COMStopped() const = 0;

    // The port as the status bar names it.
    virtual QString PortName(int intPortNum) const {
        return QStringLiteral("COM ") + QString::number(intPortNum);
    }

    // Told every piece of an answer as it arrives (a long transfer shows its progress).
    using ReceiveHook = std::function<void(QStringView received)>;
    void SetReceiveHook(ReceiveHook hook) { m_receiveHook = std::move(hook); }

protected:
    void Received(QStringView text) const {
        if (m_receiveHook && !text.isEmpty()) {
            m_receiveHook(text);
        }
    }

private:
    ReceiveHook m_receiveHook;
};
