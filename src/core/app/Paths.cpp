#include "app/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool HoldsResources(const QString& dir) {
    return QFileInfo::exists(JoinPath(dir, QStringLiteral("Settings.ini")));
}

} // namespace

QString ProgramDir() {
    const QString forced = qEnvironmentVariable("MERVEX_PROGRAM_DIR");
    if (!forced.isEmpty()) {
        return QDir::cleanPath(forced);
    }
    return ProgramDirFor(QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                      : QDir::currentPath());
}

QString ProgramDirFor(const QString& exeDir) {
    if (HoldsResources(exeDir)) {
        return exeDir;
    }
    const QString installed = QDir::cleanPath(exeDir + QStringLiteral("/../share/mervex"));
    return HoldsResources(installed) ? installed : exeDir;
}

QString SettingsIniPath() {
    return ProgramFile(QStringLiteral("Settings.ini"));
}

QString ProgramFile(const QString& relative) {
    return JoinPath(ProgramDir(), relative);
}

QString JoinPath(const QString& folder, const QString& name) {
    if (folder.isEmpty()) {
        return name;
    }
    if (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))) {
        return folder + name;
    }
    return folder + QLatin1Char('/') + name;
}

QString DocumentsFolder() {
    const QString path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!path.isEmpty()) {
        QDir().mkpath(path);
    }
    return path;
}
