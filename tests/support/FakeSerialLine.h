#pragma once

#include "meter/PortCatalogue.h"
#include "meter/SerialPort.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <memory>

// Serial devices in memory for the link's tests. A device may have a meter behind it that
// answers each written text with pieces of text, one piece per read, and only at its own
// baud rate. Every device records what happened to it.
class FakeSerialLine {
public:
    struct Device {
        bool openable = true;
        SerialPortError openError = SerialPortError::PermissionDenied;
        QString openErrorText = QStringLiteral("Permission denied");
        QString meterBaud; // the rate the meter answers at; empty: any
        std::function<QStringList(const QString& written)> answer; // none: silent
        // The device went away behind the port that has it open (unplugged); opening it
        // again plugs it back in.
        bool gone = false;

        bool open = false;
        QString baud;
        int opens = 0;
        int closes = 0;
        int reads = 0;
        QStringList written;
        std::deque<QString> pending;
    };

    // Devices are numbered in the order they are added.
    Device& Add(const QString& device);
    Device& operator[](const QString& device) { return m_devices.at(device); }
    bool Exists(const QString& device) const { return m_devices.count(device) > 0; }

    // A catalogue listing exactly these devices, and the ports that open them.
    PortCatalogue Catalogue() const;
    std::function<std::unique_ptr<SerialPort>()> PortMaker();
    int OpenCount() const;

    // A meter answering every command with the OK terminator after `value`.
    static std::function<QStringList(const QString&)> Answering(const QString& value);

private:
    std::map<QString, Device> m_devices;
    QStringList m_order;
};

class FakeSerialPort : public SerialPort {
public:
    explicit FakeSerialPort(FakeSerialLine& line) : m_line(line) {}
    ~FakeSerialPort() override;

    bool Open(const QString& device) override;
    void Close() override;
    bool IsOpen() const override { return m_device != nullptr; }
    bool Configure(const QString& baud) override;
    void Clear() override;
    bool Write(const QString& text) override;
    QString ReadAll() override;
    bool WaitForData(int ms) override;
    bool Lost() const override { return m_device != nullptr && m_device->gone; }
    SerialPortError Error() const override { return m_error; }
    QString ErrorString() const override { return m_errorString; }

private:
    FakeSerialLine& m_line;
    FakeSerialLine::Device* m_device = nullptr;
    SerialPortError m_error = SerialPortError::None;
    QString m_errorString;
};
