#include "programs/SafeDelete.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace {

// When it cannot set up the user's trash, Qt still reports success but moves the file
// into "files/" below the current directory (with its note in "info/"): that is no trash
// anyone can restore from, so the file goes back where it was.
void UndoStrayTrash(const QString& original, const QString& strayPath) {
    QFile::rename(strayPath, original);
    const QFileInfo stray(strayPath);
    const QDir strayRoot = stray.dir().filePath(QStringLiteral(".."));
    QFile::remove(strayRoot.filePath(QStringLiteral("info/") + stray.fileName() +
                                     QStringLiteral(".trashinfo")));
    strayRoot.rmdir(QStringLiteral("info"));
    strayRoot.rmdir(QStringLiteral("files"));
}

bool MoveToTrash(const QString& path) {
    QString pathInTrash;
    if (!QFile::moveToTrash(path, &pathInTrash)) {
        return false;
    }
    if (QDir::isRelativePath(pathInTrash)) {
        UndoStrayTrash(path, pathInTrash);
        return false;
    }
    return true;
}

} // namespace

int DeleteToRecycleBin(const QStringList& paths, int count) {
    // Without the data folder Qt cannot make the trash at all.
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    int result = 0;
    for (int i = 0; i < count && i < paths.size(); ++i) {
        if (!MoveToTrash(paths[i])) {
            result = kRecycleFailed;
        }
    }
    return result;
}

bool RecycleAllIfAllExist(const QStringList& paths) {
    if (!std::all_of(paths.begin(), paths.end(),
                     [](const QString& path) { return QFile::exists(path); })) {
        return false;
    }
    return DeleteToRecycleBin(paths, static_cast<int>(paths.size())) == 0;
}
