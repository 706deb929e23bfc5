#include "archive/ArchiveTarget.h"

#include "app/CIni.h"

#include <QDir>
#include <QStandardPaths>
#include <QUrl>

QString ArchiveTarget::Display() const {
    if (engine == Engine::Sqlite) {
        return QDir::toNativeSeparators(path);
    }
    return QStringLiteral("postgresql://%1@%2:%3/%4").arg(user, host).arg(port).arg(databaseName);
}

std::optional<ArchiveTarget> ArchiveTarget::Parse(const QString& text) {
    const QString trimmed = text.trimmed();
    ArchiveTarget target;
    if (!trimmed.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)) {
        if (trimmed.isEmpty()) {
            return std::nullopt;
        }
        return File(QDir::fromNativeSeparators(trimmed));
    }
    const QUrl url(trimmed, QUrl::StrictMode);
    const QString name = url.path().mid(1);
    if (!url.isValid() || url.host().isEmpty() || name.isEmpty() ||
        name.contains(QLatin1Char('/')) || !url.password().isEmpty() || url.userName().isEmpty()) {
        return std::nullopt;
    }
    target.engine = Engine::Postgres;
    target.user = url.userName();
    target.host = url.host();
    target.port = url.port(5432);
    target.databaseName = name;
    return target;
}

ArchiveTarget ArchiveTarget::File(const QString& path) {
    ArchiveTarget target;
    target.path = path;
    return target;
}

ArchiveTarget ArchiveTarget::DefaultFile() {
    return File(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                QStringLiteral("/archive.sqlite"));
}

ArchiveSettings ArchiveSettings::Read(CIni& ini) {
    const QString section = QStringLiteral("Archive");
    ArchiveSettings settings;
    settings.database = ini.Setting(section, QStringLiteral("Database"), QString());
    settings.autoArchive = ini.Setting(section, QStringLiteral("Auto"), QStringLiteral("True"))
                               .compare(QLatin1String("False"), Qt::CaseInsensitive) != 0;
    return settings;
}
