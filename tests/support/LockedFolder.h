#pragma once

#include <QFile>
#include <QString>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// While alive, file permissions count for this thread even when it runs as root: the two
// capabilities that override them are dropped from the effective set (and raised again
// at the end; they stay permitted). Without it a root test could not make a file
// unreadable or a folder unwritable.
class PermissionsCount {
public:
    PermissionsCount() {
        m_changed = Get(m_saved) && (m_saved[0].effective & kOverrides) != 0;
        if (m_changed) {
            __user_cap_data_struct data[2] = {m_saved[0], m_saved[1]};
            data[0].effective &= ~kOverrides;
            m_changed = Set(data);
        }
    }
    ~PermissionsCount() {
        if (m_changed) {
            Set(m_saved);
        }
    }
    PermissionsCount(const PermissionsCount&) = delete;
    PermissionsCount& operator=(const PermissionsCount&) = delete;

private:
    static constexpr __u32 kOverrides =
        (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);

    static bool Get(__user_cap_data_struct (&data)[2]) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return syscall(SYS_capget, &header, data) == 0;
    }
    static bool Set(__user_cap_data_struct (&data)[2]) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return syscall(SYS_capset, &header, data) == 0;
    }

    __user_cap_data_struct m_saved[2]{};
    bool m_changed = false;
};

// While alive, no file can be created in the folder, but the files already in it stay
// writable.
class LockedFolder {
public:
    explicit LockedFolder(const QString& path) : m_path(path) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    }
    ~LockedFolder() {
        QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    LockedFolder(const LockedFolder&) = delete;
    LockedFolder& operator=(const LockedFolder&) = delete;

private:
    QString m_path;
    PermissionsCount m_permissions;
};
