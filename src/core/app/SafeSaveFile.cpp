#include "app/SafeSaveFile.h"

#include "app/RunTimeErrors.h"
#include "app/SafeSaveFileFaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qsizetype kBufferSize = 256 * 1024;
// Writes of this size and more go straight to the file, so that their failure shows at once.
constexpr qsizetype kDirectSize = 16 * 1024;
// New documents are readable by everyone, like the files of the program's other writers.
constexpr mode_t kNewFileMode = S_IRUSR | S_IWUSR | S_IRGRP | S_IROTH;

// A new file from the template's name ("…XXXXXX"); -1 with errno set when refused.
int CreateUnique(QByteArray& name) {
    return mkostemp(name.data(), O_CLOEXEC);
}

// Writes all of `size` bytes at `offset` (or at the current position when negative);
// false with errno set when the system took fewer.
bool WriteAll(int fd, const char* data, qint64 size, qint64 offset = -1) {
    while (size > 0) {
        const ssize_t done = offset < 0 ? ::write(fd, data, size_t(size))
                                        : ::pwrite(fd, data, size_t(size), off_t(offset));
        if (done < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (done == 0) {
            errno = ENOSPC;
            return false;
        }
        data += done;
        size -= done;
        if (offset >= 0) {
            offset += done;
        }
    }
    return true;
}

InPlaceFault& InPlaceFaults() {
    static InPlaceFault fault;
    return fault;
}

// A write of the in-place save, which a test may make fail.
bool WriteInPlace(InPlaceWrite write, int fd, const char* data, qint64 size, qint64 offset) {
    if (const InPlaceFault& fault = InPlaceFaults()) {
        if (const int error = fault(write, offset); error != 0) {
            errno = error;
            return false;
        }
    }
    return WriteAll(fd, data, size, offset);
}

// Copies `size` bytes from the start of `from` over the start of `to`; false with errno set.
bool CopyBytes(InPlaceWrite write, int from, int to, qint64 size) {
    QByteArray block(kBufferSize, Qt::Uninitialized);
    for (qint64 offset = 0; offset < size;) {
        const ssize_t got = ::pread(from, block.data(), size_t(block.size()), off_t(offset));
        if (got <= 0) {
            errno = got == 0 ? EIO : errno;
            return false;
        }
        if (!WriteInPlace(write, to, block.constData(), got, offset)) {
            return false;
        }
        offset += got;
    }
    return true;
}

struct Descriptor {
    explicit Descriptor(int value) : fd(value) {}
    ~Descriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int fd;
};

// The old content of a file written in place, kept in the temporary folder until the new one
// is complete, so that a write failing half-way over it (a device error) loses nothing.
class OldContent {
public:
    OldContent(int target, qint64 size) : m_target(target), m_size(size) {}
    ~OldContent() {
        if (!m_kept && !m_name.isEmpty()) {
            QFile::remove(m_name);
        }
    }
    OldContent(const OldContent&) = delete;
    OldContent& operator=(const OldContent&) = delete;

    // False with errno set when the copy cannot be made (no room in the temporary folder).
    bool Keep() {
        QByteArray name =
            QFile::encodeName(QDir::tempPath() + QStringLiteral("/mervex-old-XXXXXX"));
        m_copy.fd = CreateUnique(name);
        if (m_copy.fd < 0) {
            return false;
        }
        m_name = QFile::decodeName(name);
        return CopyBytes(InPlaceWrite::Backup, m_target, m_copy.fd, m_size) &&
               ::fdatasync(m_copy.fd) == 0;
    }
    // Puts the old content back in place; false with errno set leaves the copy where it is.
    bool PutBack() {
        m_kept = !CopyBytes(InPlaceWrite::Restore, m_copy.fd, m_target, m_size) ||
                 ::ftruncate(m_target, m_size) != 0 || ::fdatasync(m_target) != 0;
        return !m_kept;
    }
    const QString& Name() const { return m_name; }

private:
    int m_target;
    qint64 m_size;
    Descriptor m_copy{-1};
    QString m_name;
    bool m_kept = false;
};

} // namespace

void SetInPlaceFaultForTests(InPlaceFault fault) {
    InPlaceFaults() = std::move(fault);
}

SafeSaveFile::SafeSaveFile(const QString& path) : m_path(path) {
    // A link is followed, so that the file it points to gets the new content.
    const QFileInfo info(path);
    if (info.isSymLink()) {
        m_path = info.symLinkTarget();
    }
}

SafeSaveFile::~SafeSaveFile() {
    Discard();
}

void SafeSaveFile::Begin() {
    Discard();
    const QFileInfo target(m_path);
    if (target.isDir()) {
        throw SystemFileError(m_path, EISDIR);
    }
    QByteArray name = QFile::encodeName(target.absolutePath() + QStringLiteral("/.") +
                                        target.fileName() + QStringLiteral(".XXXXXX"));
    m_fd = CreateUnique(name);
    if (m_fd < 0) {
        const int refused = errno;
        // Only an existing file the user may write can take the content in place.
        if (!target.isFile() || ::access(QFile::encodeName(m_path).constData(), W_OK) != 0) {
            throw SystemFileError(m_path, refused);
        }
        name = QFile::encodeName(QDir::tempPath() + QStringLiteral("/mervex-save-XXXXXX"));
        m_fd = CreateUnique(name);
        if (m_fd < 0) {
            throw SystemFileError(m_path, errno);
        }
        m_inPlace = true;
    }
    m_workingName = QFile::decodeName(name);
    m_buffer.reserve(kBufferSize);
    QIODevice::open(QIODevice::WriteOnly);
}

qint64 SafeSaveFile::readData(char*, qint64) {
    return -1;
}

qint64 SafeSaveFile::writeData(const char* data, qint64 size) {
    if (m_failure) {
        return -1;
    }
    if (m_buffer.size() + size > kBufferSize || size >= kDirectSize) {
        FlushBuffer();
        if (size >= kDirectSize) {
            return WriteOut(data, size) ? size : -1;
        }
    }
    m_buffer.append(data, size);
    return m_failure ? -1 : size;
}

bool SafeSaveFile::WriteOut(const char* data, qint64 size) {
    if (!m_failure && !WriteAll(m_fd, data, size)) {
        Fail(errno);
    }
    return !m_failure;
}

void SafeSaveFile::FlushBuffer() {
    WriteOut(m_buffer.constData(), m_buffer.size());
    m_buffer.clear();
}

void SafeSaveFile::Fail(int error) {
    Fail(SystemFileError(m_path, error));
}

void SafeSaveFile::Fail(const FileFailure& failure) {
    if (!m_failure) {
        m_failure = failure;
        setErrorString(m_failure->Description());
    }
}

void SafeSaveFile::Commit() {
    if (m_fd < 0) {
        throw SystemFileError(m_path, EBADF);
    }
    FlushBuffer();
    // The content reaches the disk before it takes the target's place: a crash then leaves
    // the old file or the new one, never a mix.
    if (!m_failure && ::fdatasync(m_fd) != 0) {
        Fail(errno);
    }
    if (!m_failure) {
        m_inPlace ? PutInPlace() : PutBeside();
    }
    if (m_failure) {
        const FileFailure failure = *m_failure;
        Discard();
        throw failure;
    }
    CloseWorking();
    if (m_inPlace) {
        QFile::remove(m_workingName);
    }
    m_workingName.clear();
}

void SafeSaveFile::PutBeside() {
    struct stat old {};
    const QByteArray target = QFile::encodeName(m_path);
    const mode_t mode =
        ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : kNewFileMode;
    if (::fchmod(m_fd, mode) != 0 ||
        ::rename(QFile::encodeName(m_workingName).constData(), target.constData()) != 0) {
        Fail(errno);
        return;
    }
    m_workingName.clear(); // it is the target now
}

// The old content is touched only once a copy of it can put it back and the disk has room
// for the whole new one; a write that fails over it puts it back.
void SafeSaveFile::PutInPlace() {
    struct stat working {};
    struct stat old {};
    const Descriptor target(::open(QFile::encodeName(m_path).constData(), O_RDWR | O_CLOEXEC));
    if (target.fd < 0 || ::fstat(m_fd, &working) != 0 || ::fstat(target.fd, &old) != 0) {
        Fail(errno);
        return;
    }
    OldContent oldContent(target.fd, old.st_size);
    if (!oldContent.Keep()) {
        const int error = errno;
        Fail(FileFailure(
            QStringLiteral("%1: %2").arg(
                m_path,
                RunTimeText(RtError::BackupFailed).arg(QDir::tempPath(), SystemErrorText(error))),
            SystemErrorNumber(error)));
        return;
    }
    if (working.st_size > 0) {
        if (const int error = ::posix_fallocate(target.fd, 0, working.st_size); error != 0) {
            // Blocks reserved before the disk ran out may have made the file longer; the
            // reservation's error is the one reported, whatever the cut answers.
            [[maybe_unused]] const bool cut = ::ftruncate(target.fd, old.st_size) == 0;
            Fail(error);
            return;
        }
    }
    if (!CopyBytes(InPlaceWrite::Copy, m_fd, target.fd, working.st_size) ||
        ::ftruncate(target.fd, working.st_size) != 0 || ::fdatasync(target.fd) != 0) {
        const int error = errno;
        if (oldContent.PutBack()) {
            Fail(error);
            return;
        }
        const FileFailure failure = SystemFileError(m_path, error);
        Fail(FileFailure(failure.Description() + QStringLiteral(". ") +
                             RunTimeText(RtError::OldContentKept).arg(oldContent.Name()),
                         failure.Reason()));
    }
}

void SafeSaveFile::CloseWorking() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    m_buffer.clear();
    QIODevice::close();
}

void SafeSaveFile::Discard() {
    CloseWorking();
    if (!m_workingName.isEmpty()) {
        QFile::remove(m_workingName);
        m_workingName.clear();
    }
    m_inPlace = false;
    m_failure.reset();
}

void SafeSaveFile::WriteWhole(const QString& path, const QByteArray& bytes) {
    SafeSaveFile file(path);
    file.Begin();
    file.WriteOut(bytes.constData(), bytes.size());
    file.Commit();
}
