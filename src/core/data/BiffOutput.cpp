#include "data/BiffOutput.h"

#include "app/RunTimeErrors.h"
#include "app/SafeSaveFile.h"
#include "data/ExcelStatus.h"

#include <QtEndian>
#include <cstring>

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

// The classic status of a failure's reason.
short FailureStatus(const FileFailure& error) {
    switch (error.Reason()) {
    case RtError::DiskFull:
    case RtError::QuotaExceeded:
        return ExcelStatus::kDiskFull;
    case RtError::PermissionDenied:
    case RtError::ReadOnlyFileSystem:
        return ExcelStatus::kPermissionDenied;
    case RtError::PathNotFound:
        return ExcelStatus::kPathNotFound;
    case RtError::DeviceIo:
    case RtError::FileTooLarge:
        return ExcelStatus::kDeviceIO;
    default:
        return ExcelStatus::kPathFileAccess;
    }
}

} // namespace

BiffOutput::BiffOutput() = default;

BiffOutput::~BiffOutput() {
    Discard();
}

short BiffOutput::Open(const QString& path) {
    Discard();
    m_failure.reset();
    auto file = std::make_unique<SafeSaveFile>(path);
    try {
        file->Begin();
    } catch (const FileFailure& error) {
        return Failed(error);
    }
    m_file = std::move(file);
    m_buffer.reserve(kBlockSize + 1024);
    return ExcelStatus::kOk;
}

short BiffOutput::Failed(const FileFailure& error) {
    m_failure = error;
    return FailureStatus(error);
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
    return written == pending ? ExcelStatus::kOk : Failed(*m_file->Failure());
}

short BiffOutput::Commit() {
    short status = WriteBuffer();
    if (status == ExcelStatus::kOk) {
        try {
            m_file->Commit();
        } catch (const FileFailure& error) {
            status = Failed(error);
        }
    }
    m_file.reset(); // an uncommitted file is discarded
    return status;
}

void BiffOutput::Discard() {
    m_file.reset(); // an uncommitted file is discarded
    m_buffer.clear();
}
