#include "support/FakeSerialLine.h"

#include <QThread>

FakeSerialLine::Device& FakeSerialLine::Add(const QString& device) {
    m_order.append(device);
    return m_devices[device];
}

PortCatalogue FakeSerialLine::Catalogue() const {
    return PortCatalogue(
        m_order, true, [] { return QList<PortEntry>(); },
        [this](const QString& device) { return Exists(device); });
}

std::function<std::unique_ptr<SerialPort>()> FakeSerialLine::PortMaker() {
    return [this] { return std::make_unique<FakeSerialPort>(*this); };
}

int FakeSerialLine::OpenCount() const {
    int count = 0;
    for (const auto& [name, device] : m_devices) {
        count += device.open ? 1 : 0;
    }
    return count;
}

std::function<QStringList(const QString&)> FakeSerialLine::Answering(const QString& value) {
    return [value](const QString&) {
        return QStringList{QStringLiteral("\r\n") + value + QStringLiteral("\r\n!\r\n>")};
    };
}

FakeSerialPort::~FakeSerialPort() {
    Close();
}

bool FakeSerialPort::Open(const QString& device) {
    m_error = SerialPortError::None;
    m_errorString.clear();
    if (!m_line.Exists(device)) {
        m_error = SerialPortError::NotFound;
        m_errorString = QStringLiteral("No such file or directory");
        return false;
    }
    FakeSerialLine::Device& d = m_line[device];
    if (d.open || !d.openable) {
        m_error = d.open ? SerialPortError::Busy : d.openError;
        m_errorString = d.open ? QStringLiteral("Device or resource busy") : d.openErrorText;
        return false;
    }
    d.open = true;
    d.gone = false;
    ++d.opens;
    m_device = &d;
    return true;
}

void FakeSerialPort::Close() {
    if (m_device) {
        m_device->open = false;
        ++m_device->closes;
        m_device->pending.clear();
        m_device = nullptr;
    }
}

bool FakeSerialPort::Configure(const QString& baud) {
    if (Lost()) {
        return false;
    }
    m_device->baud = baud;
    return true;
}

void FakeSerialPort::Clear() {
    m_device->pending.clear();
}

bool FakeSerialPort::Write(const QString& text) {
    if (Lost()) {
        return false;
    }
    m_device->written.append(text);
    const bool listening = m_device->meterBaud.isEmpty() || m_device->meterBaud == m_device->baud;
    if (m_device->answer && listening) {
        for (const QString& piece : m_device->answer(text)) {
            m_device->pending.push_back(piece);
        }
    }
    return true;
}

QString FakeSerialPort::ReadAll() {
    ++m_device->reads;
    if (Lost() || m_device->pending.empty()) {
        return QString();
    }
    const QString piece = m_device->pending.front();
    m_device->pending.pop_front();
    return piece;
}

bool FakeSerialPort::WaitForData(int ms) {
    if (!Lost() && !m_device->pending.empty()) {
        return true;
    }
    QThread::msleep(static_cast<unsigned long>(ms)); // an idle line: nothing can arrive
    return false;
}
