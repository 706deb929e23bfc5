#include "app/RunTimeErrors.h"

#include "app/TextTables.h"

#include <QFileDevice>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

QString RunTimeText(RtError error) {
    const int number = static_cast<int>(error);
    if (const std::optional<QString> text = TextTables::RunTimeTexts().Find(number)) {
        return *text;
    }
    // Only a broken table gets here; the number still tells which error it was.
    return QString::number(number);
}

MervexError RunTimeError(RtError error) {
    return MervexError(RunTimeText(error));
}

MervexError RunTimeError(RtError error, const QString& detail) {
    return MervexError(RunTimeText(error) + QStringLiteral(": ") + detail);
}

RtError FileErrorNumber(const QString& path, const QFileDevice& file, bool writing) {
    const QFileInfo info(path);
    switch (file.error()) {
    case QFileDevice::OpenError:
    case QFileDevice::PermissionsError: {
        const QFileInfo folder(info.absolutePath());
        if (!folder.isDir()) {
            return RtError::PathNotFound;
        }
        if (!writing && !info.exists()) {
            return RtError::FileNotFound;
        }
        const bool allowed =
            writing ? (info.exists() ? info.isWritable() : folder.isWritable()) : info.isReadable();
        return allowed ? RtError::PathFileAccess : RtError::PermissionDenied;
    }
    case QFileDevice::ResourceError:
        return RtError::DiskFull;
    case QFileDevice::WriteError:
    case QFileDevice::ReadError:
        return RtError::DeviceIo;
    default:
        break;
    }
    return RtError::PathFileAccess;
}

MervexError FileError(const QString& path, const QFileDevice& file, bool writing) {
    return MervexError(
        QStringLiteral("%1: %2 (%3)")
            .arg(path, RunTimeText(FileErrorNumber(path, file, writing)), file.errorString()));
}

RtError SystemErrorNumber(int error) {
    switch (error) {
    case ENOSPC:
        return RtError::DiskFull;
    case EACCES:
    case EPERM:
        return RtError::PermissionDenied;
    case EROFS:
        return RtError::ReadOnlyFileSystem;
    case EDQUOT:
        return RtError::QuotaExceeded;
    case EFBIG:
        return RtError::FileTooLarge;
    case ENAMETOOLONG:
        return RtError::NameTooLong;
    case EISDIR:
        return RtError::IsFolder;
    case ENOENT:
    case ENOTDIR:
        return RtError::PathNotFound;
    case EIO:
        return RtError::DeviceIo;
    case EEXIST:
        return RtError::FileExists;
    default:
        return RtError::SystemError;
    }
}

QString SystemErrorText(int error) {
    const RtError number = SystemErrorNumber(error);
    const QString reason = RunTimeText(number);
    return number == RtError::SystemError
               ? reason.arg(error).arg(QString::fromLocal8Bit(std::strerror(error)))
               : reason;
}

FileFailure SystemFileError(const QString& path, int error) {
    return FileFailure(QStringLiteral("%1: %2").arg(path, SystemErrorText(error)),
                       SystemErrorNumber(error));
}
