#pragma once

#include "meter/SerialPort.h"

#include <memory>

// A serial port that passes every call on to another one and keeps a copy of what was read,
// so that a test can act at a chosen moment of an answer.
class RecordingSerialPort : public SerialPort {
public:
    RecordingSerialPort(std::unique_ptr<SerialPort> port, QString& received)
        : m_port(std::move(port)), m_received(received) {}

    bool Open(const QString& device) override { return m_port->Open(device); }
    void Close() override { m_port->Close(); }
    bool IsOpen() const override { return m_port->IsOpen(); }
    bool Configure(const QString& baud) override { return m_port->Configure(baud); }
    void Clear() override { m_port->Clear(); }
    bool Write(const QString& text) override { return m_port->Write(text); }
    QString ReadAll() override {
        const QString text = m_port->ReadAll();
        m_received += text;
        return text;
    }
    bool WaitForData(int ms) override { return m_port->WaitForData(ms); }
    bool Lost() const override { return m_port->Lost(); }
    SerialPortError Error() const override { return m_port->Error(); }
    QString ErrorString() const override { return m_port->ErrorString(); }

private:
    std::unique_ptr<SerialPort> m_port;
    QString& m_received;
};
