#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// A serial device as the catalogue lists it.
struct PortEntry {
    QString device;      // what is opened: "/dev/ttyUSB0", "/dev/pts/5"
    QString displayName; // what the status bar shows: "ttyUSB0", or an extra device's path
};

// Numbers the serial ports the search probes: 1, 2, ... are the system's serial ports
// sorted by name, followed by the extra devices (pseudo-terminals and links the system
// does not list). When only extra devices are wanted, the system's ports are left out.
// The system is asked at the first question, not before: a command that never talks to a
// meter never enumerates the ports (thousands of file reads under /sys).
class PortCatalogue {
public:
    using SystemLister = std::function<QList<PortEntry>()>;
    using ExistsCheck = std::function<bool(const QString& device)>;

    PortCatalogue(QStringList extraDevices, bool onlyExtraDevices,
                  SystemLister lister = SystemSerialPorts, ExistsCheck exists = DeviceNodeExists);

    // Reads the system's ports again (a USB adapter may have come or gone).
    void Refresh();

    int Count() const { return static_cast<int>(Entries().size()); }
    // The device of port n (from 1), "" outside the catalogue.
    QString Device(int n) const;
    QString DisplayName(int n) const;
    // Port n is in the catalogue and its device node is there now.
    bool PortExists(int n) const;

    static QList<PortEntry> SystemSerialPorts();
    static bool DeviceNodeExists(const QString& device);
    // The comma-separated device list of Settings.ini [Ports] Extra, blanks trimmed.
    static QStringList ParseExtraList(const QString& text);

private:
    QStringList m_extras;
    bool m_onlyExtras;
    SystemLister m_lister;
    ExistsCheck m_exists;
    const QList<PortEntry>& Entries() const;

    mutable std::optional<QList<PortEntry>> m_entries;
};
