#pragma once

#include "meter/MeterLink.h"
#include "meter/PortSearch.h"
#include "meter/SerialPorts.h"

#include <functional>
#include <memory>

class Ui;

// The serial conversation with the meter over the ports of the catalogue (SerialPorts),
// on the port the search found (PortSearch). Waits poll the port, let the Ui process its
// events and end on a terminator, on a time-out (monotonic clock) or when the link is
// stopped.
class SerialLink : public MeterLink {
public:
    using StatusHook = PortSearch::StatusHook;
    using PortMaker = SerialPorts::PortMaker;

    SerialLink(Ui& ui, PortCatalogue catalogue, PortMaker makePort = MakeQtSerialPort);
    ~SerialLink() override;

    bool COMScanPorts(int& intPortNum, QString& strBaudrate) override;
    bool COMScanPortsAgain(int& intPortNum, QString& strBaudrate) override;
    bool COMInit(int intPortNum, const QString& strBaudrate, int intMaxAnswTime_s) override;
    bool COMSendAndReceive(const QString& strSend, QString& strAnswer) override;
    bool COMChangeAnswerTime(int intMaxAnswTime_s) override;
    bool COMDeinit() override;
    bool COMStop() override;
    bool COMContinue() override;
    bool COMStopped() const override { return m_stopped; }
    QString PortName(int intPortNum) const override;

    // Called while the search runs with the ports found so far and "<baud> Baud".
    void SetStatusHook(StatusHook hook) { m_search.SetStatusHook(std::move(hook)); }
    const PortCatalogue& Catalogue() const { return m_ports.Catalogue(); }

private:
    bool ScanPorts(int& intPortNum, QString& strBaudrate);
    bool SendOnce(const QString& strSend, QString& strAnswer);
    bool WaitForAnswer(QString& strAnswer, int index);
    bool DeadlinePassed(qint64 elapsedMs) const;

    Ui& m_ui;
    SerialPorts m_ports;
    PortSearch m_search{m_ui, m_ports, [this] { return m_active; }};
    bool m_active = false;
    bool m_stopped = false;
    // Set while a wait lets events through: a conversation started from one of those
    // events would write into the running exchange, so it is refused.
    bool m_waiting = false;
    int m_answerTime_s = 1;
};

// The link of the program: the system's serial ports and Settings.ini [Ports] Extra, or
// only the given devices when there are any.
std::unique_ptr<SerialLink> MakeSerialLink(Ui& ui, const QStringList& onlyDevices);
