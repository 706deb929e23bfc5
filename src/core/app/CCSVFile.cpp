#include "app/CCSVFile.h"

#include "app/ErrorTrap.h"
#include "app/RunTimeErrors.h"
#include "app/SafeSaveFile.h"
#include "app/Windows1252.h"

#include <QBuffer>
#include <QFile>

namespace {

const QByteArray kUtf8Bom = QByteArrayLiteral("\xEF\xBB\xBF");

} // namespace

void WriteWholeFile(const QString& path, const QString& text) {
    WriteWholeFileBytes(path, Windows1252::Encode(text));
}

void WriteWholeFileBytes(const QString& path, const QByteArray& bytes) {
    SafeSaveFile::WriteWhole(path, bytes);
}

QString ReadWholeFile(const QString& path, const FileTextReader::Progress& progress) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw FileError(path, file, false);
    }
    std::optional<QString> text = FileTextReader(file, file.size(), true).Read(progress);
    if (file.error() != QFileDevice::NoError) {
        throw FileError(path, file, false);
    }
    if (!text) {
        throw MervexError(RunTimeText(RtError::OpenStopped).arg(path));
    }
    return std::move(*text);
}

QString DecodeFileText(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return *FileTextReader(buffer, bytes.size(), false).Read();
}

QByteArray EncodeFileTextExactly(const QString& text) {
    bool complete = false;
    QByteArray bytes = Windows1252::Encode(text, &complete);
    return complete ? bytes : kUtf8Bom + text.toUtf8();
}

bool CCSVFile::WriteFile(const QString& strFileName, const QString& strStream) {
    return Trapped(m_ui, false, [&] {
        WriteWholeFile(strFileName, strStream);
        return true;
    });
}

bool CCSVFile::ReadFile(QString& strStream, const QString& strFileName) {
    return Trapped(m_ui, false, [&] {
        strStream = ReadWholeFile(strFileName);
        return true;
    });
}
