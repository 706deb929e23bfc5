#include "meter/QtSerialPort.h"

#include "app/RunTimeErrors.h"
#include "app/Windows1252.h"

#include <QFileInfo>
#include <QThread>

namespace {

// Qt reports both "no access" and "locked by another program" as a permission error.
SerialPortError Classify(QSerialPort::SerialPortError error, const QString& device) {
    switch (error) {
    case QSerialPort::NoError:
        return SerialPortError::None;
    case QSerialPort::DeviceNotFoundError:
        return SerialPortError::NotFound;
    case QSerialPort::PermissionError: {
        const QFileInfo node(device);
        return node.isReadable() && node.isWritable() ? SerialPortError::Busy
                                                      : SerialPortError::PermissionDenied;
    }
    default:
        return SerialPortError::Other;
    }
}

} // namespace

std::unique_ptr<SerialPort> MakeQtSerialPort() {
    return std::make_unique<QtSerialPort>();
}

QtSerialPort::QtSerialPort() {
    // A device that goes away makes every read fail: with an I/O error (unplugged) or as
    // the end of input (a pseudo-terminal whose far end closed). The error may come from any
    // call, and from event processing while the port is idle, so it is caught as it is
    // signalled rather than by asking each call.
    QObject::connect(
        &m_port, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError error) {
            if (error == QSerialPort::ResourceError || error == QSerialPort::ReadError) {
                m_lost = true;
            }
        });
}

bool QtSerialPort::Check(bool ok) {
    const QSerialPort::SerialPortError error = m_port.error();
    if (ok || error == QSerialPort::NoError || error == QSerialPort::UnsupportedOperationError) {
        m_port.clearError();
        m_error = SerialPortError::None;
        m_errorString.clear();
        return true;
    }
    m_error = Classify(error, m_device);
    m_errorString = m_port.errorString();
    m_port.clearError();
    return false;
}

bool QtSerialPort::Open(const QString& device) {
    m_device = device;
    m_lost = false;
    m_port.setPortName(device);
    if (m_port.open(QIODevice::ReadWrite)) {
        return Check(true);
    }
    // Here even an "unsupported operation" (a node that is no terminal) is a failure.
    m_error = Classify(m_port.error(), m_device);
    if (m_error == SerialPortError::None) {
        m_error = SerialPortError::Other;
    }
    m_errorString = m_port.errorString();
    m_port.clearError();
    return false;
}

void QtSerialPort::Close() {
    m_port.close();
}

bool QtSerialPort::IsOpen() const {
    return m_port.isOpen();
}

bool QtSerialPort::Configure(const QString& baud) {
    bool numeric = false;
    const int rate = baud.toInt(&numeric);
    if (!numeric || rate <= 0) {
        m_error = SerialPortError::Other;
        m_errorString = RunTimeText(RtError::InvalidBaudRate).arg(baud);
        return false;
    }
    return Check(m_port.setBaudRate(rate)) && Check(m_port.setDataBits(QSerialPort::Data8)) &&
           Check(m_port.setParity(QSerialPort::NoParity)) &&
           Check(m_port.setStopBits(QSerialPort::OneStop)) &&
           Check(m_port.setFlowControl(QSerialPort::HardwareControl));
}

void QtSerialPort::Clear() {
    Check(m_port.clear(QSerialPort::Output));
    Check(m_port.clear(QSerialPort::Input));
}

bool QtSerialPort::Write(const QString& text) {
    const QByteArray bytes = Windows1252::Encode(text);
    const bool written = m_port.write(bytes) == bytes.size();
    m_port.flush(); // the rest goes out while the answer is awaited
    return Check(written);
}

QString QtSerialPort::ReadAll() {
    return Windows1252::Decode(m_port.readAll());
}

bool QtSerialPort::WaitForData(int ms) {
    if (m_port.bytesAvailable() > 0 || m_port.waitForReadyRead(ms)) {
        return true;
    }
    const QSerialPort::SerialPortError error = m_port.error();
    m_port.clearError();
    if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError) {
        // A vanished device fails at once; the caller polls until its deadline, so keep
        // its pace instead of spinning.
        QThread::msleep(static_cast<unsigned long>(ms));
    }
    return false;
}
