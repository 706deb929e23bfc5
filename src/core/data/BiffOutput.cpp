#include "data/BiffOutput.h"

#include "data/ExcelStatus.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QtEndian>
#include <cstring>

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

short OpenFailureStatus(const QString& path) {
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir()) {
        return ExcelStatus::kPathNotFound;
    }
    if (!folder.isWritable() || (info.exists() && !info.isWritable())) {
        return ExcelStatus::kPermissionDenied;
    }
    return ExcelStatus::kPathFileAccess;
}

short WriteFailureStatus(const QSaveFile& file) {
    return file.error() == QFileDevice::ResourceError ? ExcelStatus::kDiskFull
                                                      : ExcelStatus::kDeviceIO;
}

} // namespace

BiffOutput::BiffOutput() = default;

BiffOutput::~BiffOutput() {
    Discard();
}

short BiffOutput::Open(const QString& path) {
    Discard();
    auto file = std::make_unique<QSaveFile>(path);
    // A folder that refuses the temporary file may still hold a file the user can write.
    file->setDirectWriteFallback(true);
    // Unbuffered: the records are already collected in blocks here.
    if (!file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return OpenFailureStatus(path);
    }
    m_file = std::move(file);
    m_buffer.reserve(kBlockSize + 1024);
    return ExcelStatus::kOk;
}

void BiffOutput::Double(double value) {
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    char bytes[sizeof bits];
    qToLittleEndian(bits, bytes);
    m_buffer.append(bytes, sizeof bytes);
}

short BiffOutput::Settle() {
    return m_buffer.size() >= kBlockSize ? WriteBuffer() : ExcelStatus::kOk;
}

short BiffOutput::WriteBuffer() {
    const auto pending = static_cast<qint64>(m_buffer.size());
    const qint64 written = pending > 0 ? m_file->write(m_buffer.data(), pending) : 0;
    m_buffer.clear();
    return written == pending ? ExcelStatus::kOk : WriteFailureStatus(*m_file);
}

short BiffOutput::Commit() {
    short status = WriteBuffer();
    // flush() is checked on its own: commit() ignores an error of its final flush and
    // would put a truncated file in place.
    if (status == ExcelStatus::kOk && !m_file->flush()) {
        status = WriteFailureStatus(*m_file);
    }
    if (status != ExcelStatus::kOk) {
        m_file->cancelWriting();
    }
    if (!m_file->commit() && status == ExcelStatus::kOk) {
        status = WriteFailureStatus(*m_file);
    }
    m_file.reset();
    return status;
}

void BiffOutput::Discard() {
    if (m_file) {
        m_file->cancelWriting();
        m_file.reset(); // an uncommitted QSaveFile removes its temporary file
    }
    m_buffer.clear();
}
