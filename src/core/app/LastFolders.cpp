#include "app/LastFolders.h"

#include "app/Paths.h"

#include <QFileInfo>
#include <QSettings>

namespace {

QString Key(FileKind kind) {
    switch (kind) {
    case FileKind::Dataset:
        return QStringLiteral("Folders/Dataset");
    case FileKind::Spreadsheet:
        return QStringLiteral("Folders/Spreadsheet");
    case FileKind::Program:
        return QStringLiteral("Folders/Program");
    case FileKind::Protocol:
        return QStringLiteral("Folders/Protocol");
    case FileKind::Other:
        break;
    }
    return QString();
}

bool IsFolder(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

namespace LastFolders {

QString StartFolder(FileKind kind, const QString& fallback) {
    const QString key = Key(kind);
    if (!key.isEmpty()) {
        const QString remembered = QSettings().value(key).toString();
        if (IsFolder(remembered)) {
            return remembered;
        }
    }
    if (IsFolder(fallback)) {
        return QFileInfo(fallback).absoluteFilePath();
    }
    return DocumentsFolder();
}

void Remember(FileKind kind, const QString& chosenFile) {
    const QString key = Key(kind);
    if (key.isEmpty() || chosenFile.isEmpty()) {
        return;
    }
    QSettings().setValue(key, QFileInfo(chosenFile).absolutePath());
}

} // namespace LastFolders
