#pragma once

#include "meter/SerialPort.h"

#include <QSerialPort>

// SerialPort over QSerialPort. Operations a pseudo-terminal does not support (modem
// lines) are not failures of the link.
class QtSerialPort : public SerialPort {
public:
    QtSerialPort();

    bool Open(const QString& device) override;
    void Close() override;
    bool IsOpen() const override;
    bool Configure(const QString& baud) override;
    void Clear() override;
    bool Write(const QString& text) override;
    QString ReadAll() override;
    bool WaitForData(int ms) override;
    bool Lost() const override { return m_lost; }
    SerialPortError Error() const override { return m_error; }
    QString ErrorString() const override { return m_errorString; }

private:
    // Records the port's last error; true when there is none worth reporting.
    bool Check(bool ok);

    QSerialPort m_port;
    QString m_device;
    SerialPortError m_error = SerialPortError::None;
    bool m_lost = false;
    QString m_errorString;
};
