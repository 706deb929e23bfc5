#include "meter/SerialPorts.h"

#include "app/ErrorTrap.h"
#include "app/RunTimeErrors.h"

namespace {

QString OpenErrorText(const QString& device, const SerialPort& port) {
    QString text = RunTimeText(RtError::PortCannotOpen).arg(device, port.ErrorString());
    switch (port.Error()) {
    case SerialPortError::PermissionDenied:
        text += RunTimeText(RtError::PortNoAccess).arg(device);
        break;
    case SerialPortError::Busy:
        text += RunTimeText(RtError::PortBusy);
        break;
    default:
        break;
    }
    return text;
}

} // namespace

SerialPorts::SerialPorts(Ui& ui, PortCatalogue catalogue, PortMaker makePort)
    : m_ui(ui), m_catalogue(std::move(catalogue)), m_makePort(std::move(makePort)) {
    Add();
}

SerialPorts::~SerialPorts() {
    CloseAll();
}

void SerialPorts::Add() {
    m_instances.push_back({m_makePort(), 0});
}

void SerialPorts::OpenOrThrow(Instance& instance, int port, const QString& baud) {
    if (!ReuseOpen(instance, port, baud)) {
        OpenDevice(instance, port);
        if (!instance.port->Configure(baud)) {
            ThrowBaudError(instance, baud);
        }
    }
    instance.port->Clear();
}

bool SerialPorts::ReuseOpen(Instance& instance, int port, const QString& baud) {
    SerialPort& serial = *instance.port;
    if (serial.IsOpen() && instance.portNumber == port && !serial.Lost()) {
        if (serial.Configure(baud)) {
            return true;
        }
        // Setting up the line is often the first use of a port whose device went away
        // while it was idle (unplugged and plugged in again, emulator restarted).
        if (!serial.Lost()) {
            ThrowBaudError(instance, baud);
        }
    }
    if (serial.IsOpen()) {
        serial.Close();
    }
    return false;
}

void SerialPorts::OpenDevice(Instance& instance, int port) {
    instance.portNumber = port;
    instance.lossReported = false;
    const QString device = m_catalogue.Device(port);
    if (device.isEmpty()) {
        throw MervexError(RunTimeText(RtError::NoSuchPort).arg(port));
    }
    if (!instance.port->Open(device)) {
        throw MervexError(OpenErrorText(device, *instance.port));
    }
}

void SerialPorts::ThrowBaudError(const Instance& instance, const QString& baud) const {
    throw MervexError(
        RunTimeText(RtError::PortBaudFailed)
            .arg(m_catalogue.Device(instance.portNumber), baud, instance.port->ErrorString()));
}

void SerialPorts::ReportLoss(int index) {
    Instance& instance = m_instances[index];
    if (!instance.lossReported) {
        instance.lossReported = true;
        ReportError(m_ui,
                    RunTimeText(RtError::PortGone).arg(m_catalogue.Device(instance.portNumber)));
    }
}

bool SerialPorts::Open(int index, int port, const QString& baud) {
    try {
        OpenOrThrow(m_instances[index], port, baud);
        return true;
    } catch (const MervexError& e) {
        ReportOpenFailure(e.Description());
    } catch (...) {
        ReportError(m_ui, DescribeCurrentException());
    }
    return false;
}

void SerialPorts::ReportOpenFailure(const QString& text) {
    // A port that cannot be opened stays so at every baud rate, in the search's second pass
    // and in a conversation's second attempt: one command says it once.
    if (!m_reportedThisCommand.contains(text)) {
        m_reportedThisCommand.insert(text);
        ReportError(m_ui, text);
    }
}

void SerialPorts::CloseAll() {
    for (Instance& instance : m_instances) {
        if (instance.port->IsOpen()) {
            instance.port->Close();
        }
    }
}
