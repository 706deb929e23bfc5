#include "app/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kSettingsIni = QStringLiteral("Settings.ini");

bool HoldsResources(const QString& dir) {
    return QFileInfo::exists(JoinPath(dir, kSettingsIni));
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
    const QString forced = qEnvironmentVariable("MERVEX_PROGRAM_DIR");
    if (!forced.isEmpty()) {
        return JoinPath(QDir::cleanPath(forced), kSettingsIni);
    }
    return SettingsIniPathFor(QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                           : QDir::currentPath());
}

QString SettingsIniPathFor(const QString& exeDir) {
    // A package upgrade replaces the share folder but keeps the administrator's copy.
    for (const QString& dir : {exeDir, ConfigDirFor(exeDir)}) {
        const QString path = JoinPath(dir, kSettingsIni);
        if (QFileInfo::exists(path)) {
            return path;
        }
    }
    return JoinPath(ProgramDirFor(exeDir), kSettingsIni);
}

QString ConfigDirFor(const QString& exeDir) {
    const QString prefix = QDir::cleanPath(exeDir + QStringLiteral("/.."));
    const QString root = prefix.endsWith(QLatin1String("/usr"))
                             ? QDir::cleanPath(prefix + QStringLiteral("/.."))
                             : prefix;
    return JoinPath(root, QStringLiteral("etc/mervex"));
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
