#include "app/CCSVFile.h"

#include "app/ErrorTrap.h"
#include "app/RunTimeErrors.h"
#include "app/Windows1252.h"

#include <QFile>
#include <QSaveFile>

void WriteWholeFile(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        throw FileError(path, file, true);
    }
    const QByteArray bytes = Windows1252::Encode(text);
    // flush() is checked on its own: commit() ignores an error of its final flush and
    // would replace the old file with a truncated one.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        const MervexError error = FileError(path, file, true);
        file.cancelWriting();
        throw error;
    }
}

QString ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw FileError(path, file, false);
    }
    return Windows1252::Decode(file.readAll());
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
