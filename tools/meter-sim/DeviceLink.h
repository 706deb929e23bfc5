#pragma once

#include <QString>

// A symbolic link that points at the device while the emulator runs, so that a fixed
// name can be given to the program. Removed again if it still points there.
class DeviceLink {
public:
    DeviceLink(const QString& link, const QString& target); // throws std::runtime_error
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

private:
    QString m_link;
    QString m_target;
};
