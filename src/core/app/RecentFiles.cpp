#include "app/RecentFiles.h"

#include <QFileInfo>
#include <QSettings>

namespace {

const QString kKey = QStringLiteral("Settings/RecentFiles");

void Store(const QStringList& files) {
    QSettings().setValue(kKey, files);
}

} // namespace

namespace RecentFiles {

QStringList List() {
    QStringList files = QSettings().value(kKey).toStringList();
    files.removeAll(QString());
    return files.mid(0, kMaxFiles);
}

void Add(const QString& path) {
    if (path.isEmpty()) {
        return;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList files = List();
    files.removeAll(absolute);
    files.prepend(absolute);
    Store(files.mid(0, kMaxFiles));
}

void Remove(const QString& path) {
    QStringList files = List();
    if (files.removeAll(path) > 0) {
        Store(files);
    }
}

} // namespace RecentFiles
