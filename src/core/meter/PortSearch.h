#pragma once

#include <QString>
#include <functional>
#include <vector>

class SerialPorts;
class Ui;

// The search for the meter over the ports of the serial link: every baud rate in turn, at
// each rate the probe sent on every existing port at once, all of them waited for against
// one deadline.
class PortSearch {
public:
    using StatusHook = std::function<void(const QString& port, const QString& baud)>;

    // `running` answers false once the link is stopped: the search then ends.
    PortSearch(Ui& ui, SerialPorts& ports, std::function<bool()> running)
        : m_ui(ui), m_ports(ports), m_running(std::move(running)) {}

    // How long the probed ports have to answer.
    static constexpr int kAnswerTime_s = 1;

    // Told the ports probed so far and "<baud> Baud" while the search runs.
    void SetStatusHook(StatusHook hook) { m_statusHook = std::move(hook); }

    // On true instance 0 is open on the port that answered (the last one when several did)
    // at the rate it answered at; throws on an unexpected error.
    bool Run(int& intPortNum, QString& strBaudrate);

private:
    bool ProbePortsAtBaud(int& intPortNum, const QString& baud);
    // Sends the probe on every existing port at that rate; the instances it went out on.
    std::vector<int> SendProbes(const QString& baud);
    // Waits for all probed instances against one deadline; the last one that answered.
    int LastAnswering(const std::vector<int>& probed);

    Ui& m_ui;
    SerialPorts& m_ports;
    std::function<bool()> m_running;
    StatusHook m_statusHook;
};
