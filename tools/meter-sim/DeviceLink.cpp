#include "DeviceLink.h"

#include <QFile>
#include <QFileInfo>
#include <stdexcept>

DeviceLink::DeviceLink(const QString& link, const QString& target) : m_target(target) {
    if (link.isEmpty()) {
        return;
    }
    const QFileInfo existing(link);
    // A stale link from an earlier run is replaced; anything else is not ours to remove.
    if (existing.isSymLink()) {
        QFile::remove(link);
    } else if (existing.exists()) {
        throw std::runtime_error(
            QStringLiteral("%1 exists and is not a symbolic link").arg(link).toStdString());
    }
    if (!QFile::link(target, link)) {
        throw std::runtime_error(
            QStringLiteral("cannot create the link %1").arg(link).toStdString());
    }
    m_link = link;
}

DeviceLink::~DeviceLink() {
    if (!m_link.isEmpty() && QFileInfo(m_link).symLinkTarget() == m_target) {
        QFile::remove(m_link);
    }
}
