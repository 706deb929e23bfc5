#pragma once

#include "meter/PortCatalogue.h"
#include "meter/SerialPort.h"

#include <QSet>
#include <functional>
#include <memory>
#include <vector>

class Ui;

// The open ports of the serial link, by instance: instance 0 is the working port of every
// conversation; the port search adds one instance per port it probes at once and keeps
// them. Opening reports its failure, once per command (ForgetReports starts a command).
class SerialPorts {
public:
    using PortMaker = std::function<std::unique_ptr<SerialPort>()>;

    SerialPorts(Ui& ui, PortCatalogue catalogue, PortMaker makePort);
    ~SerialPorts();
    SerialPorts(const SerialPorts&) = delete;
    SerialPorts& operator=(const SerialPorts&) = delete;

    // How long one poll waits for input before it yields again.
    static constexpr int kPollMs = 5;

    PortCatalogue& Catalogue() { return m_catalogue; }
    const PortCatalogue& Catalogue() const { return m_catalogue; }

    int Count() const { return static_cast<int>(m_instances.size()); }
    // Adds an instance, not open.
    void Add();
    SerialPort& Port(int index) { return *m_instances[index].port; }
    // The port number the instance was last opened on.
    int PortNumber(int index) const { return m_instances[index].portNumber; }

    // Opens the instance on that port at that rate, or keeps it open when it already is
    // (its input cleared); false with the failure reported.
    bool Open(int index, int port, const QString& baud);
    void CloseAll();
    // Says once per opening that the device of the instance has gone away.
    void ReportLoss(int index);
    void ForgetReports() { m_reportedThisCommand.clear(); }

private:
    struct Instance {
        std::unique_ptr<SerialPort> port;
        int portNumber = 0;
        bool lossReported = false;
    };

    // Open without the trap: throws with the device and the reason.
    void OpenOrThrow(Instance& instance, int port, const QString& baud);
    // Keeps an open instance that is on that port and still has its device, set to `baud`;
    // false (the instance closed) when it must be opened afresh.
    bool ReuseOpen(Instance& instance, int port, const QString& baud);
    void OpenDevice(Instance& instance, int port);
    [[noreturn]] void ThrowBaudError(const Instance& instance, const QString& baud) const;
    void ReportOpenFailure(const QString& text);

    Ui& m_ui;
    PortCatalogue m_catalogue;
    PortMaker m_makePort;
    std::vector<Instance> m_instances;
    // The open failures said since the command began (a search or a conversation's start).
    QSet<QString> m_reportedThisCommand;
};
