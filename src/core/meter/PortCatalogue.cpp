#include "meter/PortCatalogue.h"

#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>

PortCatalogue::PortCatalogue(QStringList extraDevices, bool onlyExtraDevices, SystemLister lister,
                             ExistsCheck exists)
    : m_extras(std::move(extraDevices)), m_onlyExtras(onlyExtraDevices),
      m_lister(std::move(lister)), m_exists(std::move(exists)) {}

void PortCatalogue::Refresh() {
    m_entries.reset();
}

const QList<PortEntry>& PortCatalogue::Entries() const {
    if (m_entries) {
        return *m_entries;
    }
    QList<PortEntry> entries;
    if (!m_onlyExtras) {
        entries = m_lister();
        std::sort(entries.begin(), entries.end(), [](const PortEntry& a, const PortEntry& b) {
            return a.displayName < b.displayName;
        });
    }
    for (const QString& extra : m_extras) {
        const bool listed = std::any_of(entries.cbegin(), entries.cend(),
                                        [&](const PortEntry& e) { return e.device == extra; });
        if (!listed) {
            entries.append({extra, extra});
        }
    }
    return m_entries.emplace(std::move(entries));
}

QString PortCatalogue::Device(int n) const {
    return n >= 1 && n <= Count() ? Entries()[n - 1].device : QString();
}

QString PortCatalogue::DisplayName(int n) const {
    return n >= 1 && n <= Count() ? Entries()[n - 1].displayName : QString();
}

bool PortCatalogue::PortExists(int n) const {
    return n >= 1 && n <= Count() && m_exists(Entries()[n - 1].device);
}

QList<PortEntry> PortCatalogue::SystemSerialPorts() {
    QList<PortEntry> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        ports.append({info.systemLocation(), info.portName()});
    }
    return ports;
}

bool PortCatalogue::DeviceNodeExists(const QString& device) {
    return QFileInfo::exists(device);
}

QStringList PortCatalogue::ParseExtraList(const QString& text) {
    QStringList devices;
    for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString device = part.trimmed();
        if (!device.isEmpty() && !devices.contains(device)) {
            devices.append(device);
        }
    }
    return devices;
}
