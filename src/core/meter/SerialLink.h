#pragma once

#include "meter/MeterLink.h"
#include "meter/PortCatalogue.h"
#include "meter/SerialPort.h"

#include <QSet>
#include <functional>
#include <memory>
#include <vector>

class Ui;

// The serial conversation with the meter over the ports of the catalogue. Instance 0 is
// the working port of every conversation; the search loads one more instance per port it
// probes at once and keeps them. Waits poll the port, let the Ui process its events and
// end on a terminator, on a time-out (monotonic clock) or when the link is stopped.
class SerialLink : public MeterLink {
public:
    using StatusHook = std::function<void(const QString& port, const QString& baud)>;
    using PortMaker = std::function<std::unique_ptr<SerialPort>()>;

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
    void SetStatusHook(StatusHook hook) { m_statusHook = std::move(hook); }
    const PortCatalogue& Catalogue() const { return m_catalogue; }
    // How long one poll waits for input before it yields again.
    static constexpr int kPollMs = 5;

private:
    // Opens an instance; a failure is reported once per command (ReportOpenFailure).
    bool OpenPort(int index, int port, const QString& baud);
    void ReportOpenFailure(const QString& text);
    bool ScanPorts(int& intPortNum, QString& strBaudrate);
    bool CloseAllPorts();
    bool SendOnce(const QString& strSend, QString& strAnswer);
    bool WaitForAnswer(QString& strAnswer, int index);
    bool ProbePortsAtBaud(int& intPortNum, const QString& baud);

    struct Instance {
        std::unique_ptr<SerialPort> port;
        int portNumber = 0;
        bool lossReported = false;
    };

    // OpenPort without the trap: throws with the device and the reason.
    void OpenOrThrow(int index, int port, const QString& baud);
    // Keeps an open instance that is on that port and still has its device, set to `baud`;
    // false (the instance closed) when it must be opened afresh.
    bool ReuseOpen(Instance& instance, int port, const QString& baud);
    void OpenDevice(Instance& instance, int port);
    [[noreturn]] void ThrowBaudError(const Instance& instance, const QString& baud) const;
    // Says once per opening that the device of the instance has gone away.
    void ReportLoss(Instance& instance);
    // Sends the probe on every existing port at that rate; the instances it went out on.
    std::vector<int> SendProbes(const QString& baud);
    // Waits for all probed instances against one deadline; the last one that answered.
    int LastAnswering(const std::vector<int>& probed);
    bool DeadlinePassed(qint64 elapsedMs) const;

    Ui& m_ui;
    PortCatalogue m_catalogue;
    PortMaker m_makePort;
    StatusHook m_statusHook;
    std::vector<Instance> m_instances;
    // The open failures said since the command began (a search or a conversation's start).
    QSet<QString> m_reportedThisCommand;
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
