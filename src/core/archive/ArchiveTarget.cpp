#include "archive/ArchiveTarget.h"

#include "app/CIni.h"
#include "app/RunTimeErrors.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>
#include <QUrlQuery>

namespace {

QString DataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

bool IsServerScheme(const QString& scheme) {
    return scheme.compare(QLatin1String("postgresql"), Qt::CaseInsensitive) == 0 ||
           scheme.compare(QLatin1String("postgres"), Qt::CaseInsensitive) == 0;
}

// A value as the client library's connection string reads it: quoted, with its quotes and
// backslashes escaped.
QString Quoted(QString value) {
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

bool Refuse(QString* error, RtError why, const QString& shown) {
    if (error) {
        *error = RunTimeText(why).arg(shown);
    }
    return false;
}

// The server address's parts into `target`; false (with the reason) when the address cannot
// be used as written.
bool ReadServerAddress(const QUrl& url, ArchiveTarget& target, QString* error) {
    const QString shown = url.toString(QUrl::RemovePassword | QUrl::RemoveQuery);
    const QUrlQuery query(url);
    if (!url.password().isEmpty() || query.hasQueryItem(QStringLiteral("password"))) {
        return Refuse(error, RtError::ArchivePassword, shown);
    }
    const QString name = url.path().mid(1);
    if (name.isEmpty() || name.contains(QLatin1Char('/'))) {
        return Refuse(error, RtError::ArchiveBadAddress, shown);
    }
    // The database driver turns every ";" into a separator: such a value cannot be passed on.
    static const QRegularExpression keyword(QStringLiteral("^[a-z_]+$"));
    for (const auto& [key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (!keyword.match(key).hasMatch() || value.contains(QLatin1Char(';'))) {
            return Refuse(error, RtError::ArchiveBadAddress, shown);
        }
        target.parameters.append({key, value});
    }
    target.engine = ArchiveTarget::Engine::Postgres;
    target.user = url.userName();
    target.host = url.host();
    target.port = url.port(5432);
    target.databaseName = name;
    return true;
}

// A positive number of seconds of the [Archive] section; `fallback` when absent or unusable.
int Seconds(CIni& ini, const QString& key, int fallback) {
    bool ok = false;
    const int seconds = ini.Setting(QStringLiteral("Archive"), key, QString()).trimmed().toInt(&ok);
    return ok && seconds > 0 ? seconds : fallback;
}

} // namespace

QString ArchiveTarget::Display() const {
    if (engine == Engine::Sqlite) {
        return QDir::toNativeSeparators(path);
    }
    QString shown = QStringLiteral("postgresql://");
    if (!user.isEmpty()) {
        shown += user + QLatin1Char('@');
    }
    // Without a host the client library uses the local socket, whose port is only worth
    // naming when it is not the usual one.
    shown += host;
    if (!host.isEmpty() || port != 5432) {
        shown += QLatin1Char(':') + QString::number(port);
    }
    shown += QLatin1Char('/') + databaseName;
    QUrlQuery query;
    query.setQueryItems(parameters);
    return query.isEmpty() ? shown : shown + QLatin1Char('?') + query.toString();
}

QString ArchiveTarget::ConnectOptions(int connectSeconds) const {
    // A server that vanished (a cable pulled, a machine off) is noticed within about a minute
    // instead of the system's two hours.
    QStringList options{QStringLiteral("connect_timeout=%1").arg(connectSeconds),
                        QStringLiteral("keepalives=1"), QStringLiteral("keepalives_idle=30"),
                        QStringLiteral("keepalives_interval=10"),
                        QStringLiteral("keepalives_count=3")};
    for (const auto& [key, value] : parameters) {
        options << key + QLatin1Char('=') + Quoted(value);
    }
    return options.join(QLatin1Char(';'));
}

std::optional<ArchiveTarget> ArchiveTarget::Parse(const QString& text, QString* error) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        Refuse(error, RtError::ArchiveBadAddress, trimmed);
        return std::nullopt;
    }
    if (!trimmed.contains(QLatin1String("://"))) {
        const QString path = QDir::fromNativeSeparators(trimmed);
        return File(QDir::isRelativePath(path) ? QDir(DataFolder()).absoluteFilePath(path) : path);
    }
    // Anything else with a scheme is an address, never a file name.
    const QUrl url(trimmed, QUrl::StrictMode);
    ArchiveTarget target;
    if (!url.isValid() || !IsServerScheme(url.scheme())) {
        const QUrl shown(trimmed);
        Refuse(error, RtError::ArchiveScheme,
               shown.isValid() ? shown.toString(QUrl::RemovePassword | QUrl::RemoveQuery)
                               : QString());
        return std::nullopt;
    }
    if (!ReadServerAddress(url, target, error)) {
        return std::nullopt;
    }
    return target;
}

ArchiveTarget ArchiveTarget::File(const QString& path) {
    ArchiveTarget target;
    target.path = path;
    return target;
}

ArchiveTarget ArchiveTarget::DefaultFile() {
    return File(DataFolder() + QStringLiteral("/archive.sqlite"));
}

ArchiveSettings ArchiveSettings::Read(CIni& ini) {
    const QString section = QStringLiteral("Archive");
    ArchiveSettings settings;
    settings.database = ini.Setting(section, QStringLiteral("Database"), QString());
    settings.timeouts.lockSeconds = Seconds(ini, QStringLiteral("LockTimeout"), 10);
    settings.timeouts.statementSeconds = Seconds(ini, QStringLiteral("StatementTimeout"), 60);
    settings.timeZone = ini.Setting(section, QStringLiteral("TimeZone"), QString()).trimmed();
    settings.autoArchive = ini.Setting(section, QStringLiteral("Auto"), QStringLiteral("True"))
                               .compare(QLatin1String("False"), Qt::CaseInsensitive) != 0;
    const QString self =
        ini.Setting(section, QStringLiteral("AllowSelfReview"), QString()).trimmed();
    settings.allowSelfReview =
        self == QLatin1String("1") || self.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0;
    return settings;
}
