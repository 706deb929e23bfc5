#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <sys/mount.h>
#include <unistd.h>

// A file system of its own for a test, small enough to fill: a memory file system of
// `bytes` that holds at most `files` files and folders (its root counts as one), mounted
// while alive. Mounting needs root; Mounted() says whether it worked and Why() why not.
class SmallDisk {
public:
    SmallDisk(qint64 bytes, int files) {
        if (geteuid() != 0) {
            m_why = QStringLiteral("mounting a small file system needs root");
            return;
        }
        const QByteArray options =
            QStringLiteral("size=%1,nr_inodes=%2,mode=0777").arg(bytes).arg(files).toLatin1();
        m_mounted = ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0,
                            options.constData()) == 0;
        if (!m_mounted) {
            m_why = QStringLiteral("the system refused to mount a small file system");
        }
    }
    ~SmallDisk() {
        if (m_mounted) {
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return m_mounted; }
    std::string Why() const { return m_why.toStdString(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

    // Fills what is left with one file (a file of its own: it takes one of the files).
    void Fill() const {
        QFile filler(file(QStringLiteral("filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
            return;
        }
        const QByteArray block(4096, 'x');
        while (filler.write(block) > 0) {
        }
    }
    // Nothing can be written any more, not even into existing files.
    bool MakeReadOnly() const {
        return ::mount(nullptr, QFile::encodeName(m_dir.path()).constData(), nullptr,
                       MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};
