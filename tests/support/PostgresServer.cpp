#include "support/PostgresServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVersionNumber>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kStartMs = 60000;

// The newest Debian server installation, or MERVEX_PG_BIN.
QString ServerBinDir() {
    const QString given = qEnvironmentVariable("MERVEX_PG_BIN");
    if (!given.isEmpty()) {
        return given;
    }
    QDir root(QStringLiteral("/usr/lib/postgresql"));
    QString best;
    QVersionNumber bestVersion;
    for (const QString& version : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString bin = root.filePath(version + QStringLiteral("/bin"));
        const QVersionNumber number = QVersionNumber::fromString(version);
        if (QFileInfo::exists(bin + QStringLiteral("/initdb")) && number > bestVersion) {
            best = bin;
            bestVersion = number;
        }
    }
    return best;
}

} // namespace

int FreeLocalPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        port = ntohs(address.sin_port);
    }
    ::close(fd);
    return port;
}

PostgresServer::~PostgresServer() {
    if (m_running) {
        Run(Bin(QStringLiteral("pg_ctl")),
            {QStringLiteral("-D"), m_dir->filePath(QStringLiteral("data")), QStringLiteral("-m"),
             QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")},
            kStartMs);
    }
}

QString PostgresServer::Bin(const QString& program) const {
    return m_binDir + QLatin1Char('/') + program;
}

bool PostgresServer::Run(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (m_runAs.isEmpty()) {
        process.start(program, args);
    } else {
        process.start(QStringLiteral("runuser"),
                      QStringList{QStringLiteral("-u"), m_runAs, QStringLiteral("--"), program} +
                          args);
    }
    const bool done = process.waitForFinished(timeoutMs);
    if (!done || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        m_reason = QStringLiteral("%1 failed: %2")
                       .arg(QFileInfo(program).fileName(),
                            QString::fromLocal8Bit(process.readAll()).trimmed());
        return false;
    }
    return true;
}

bool PostgresServer::Start() {
    m_binDir = ServerBinDir();
    if (m_binDir.isEmpty() || !QFileInfo::exists(Bin(QStringLiteral("pg_ctl")))) {
        m_reason = QStringLiteral("no PostgreSQL server programs (initdb, pg_ctl) in "
                                  "/usr/lib/postgresql/*/bin: install the postgresql package");
        return false;
    }
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/mervex-pg-XXXXXX"));
    if (::geteuid() == 0) {
        // The server refuses to run as root.
        const passwd* nobody = ::getpwnam("nobody");
        if (nobody == nullptr || ::chown(QFile::encodeName(m_dir->path()).constData(),
                                         nobody->pw_uid, nobody->pw_gid) != 0) {
            m_reason = QStringLiteral("no unprivileged user \"nobody\" to run the server");
            return false;
        }
        m_runAs = QStringLiteral("nobody");
    }
    const QString data = m_dir->filePath(QStringLiteral("data"));
    if (!Run(Bin(QStringLiteral("initdb")),
             {QStringLiteral("-D"), data, QStringLiteral("-U"), User(),
              QStringLiteral("--auth=trust"), QStringLiteral("-E"), QStringLiteral("UTF8"),
              QStringLiteral("--no-locale"), QStringLiteral("--no-sync")},
             kStartMs)) {
        return false;
    }
    m_port = FreeLocalPort();
    const QString options = QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 "
                                           "-c fsync=off -c full_page_writes=off")
                                .arg(m_port)
                                .arg(m_dir->path());
    m_running =
        Run(Bin(QStringLiteral("pg_ctl")),
            {QStringLiteral("-D"), data, QStringLiteral("-o"), options, QStringLiteral("-l"),
             m_dir->filePath(QStringLiteral("server.log")), QStringLiteral("-w"),
             QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("start")},
            kStartMs);
    return m_running;
}

bool PostgresServer::CreateDatabase(const QString& name) {
    const QString connection = QStringLiteral("mervex-test-admin");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
        db.setHostName(QStringLiteral("127.0.0.1"));
        db.setPort(m_port);
        db.setUserName(User());
        db.setDatabaseName(QStringLiteral("postgres"));
        if (db.open()) {
            QSqlQuery query(db);
            // A test database name is the test's own identifier, never user input.
            ok = query.exec(QStringLiteral("CREATE DATABASE \"%1\"").arg(name));
            if (!ok) {
                m_reason = query.lastError().text();
            }
        } else {
            m_reason = db.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return ok;
}

QString PostgresServer::NewDatabase(const QString& prefix) {
    const QString name = QStringLiteral("%1_%2").arg(prefix).arg(++m_databases);
    return CreateDatabase(name) ? name : QString();
}

QString PostgresServer::Address(const QString& databaseName) const {
    return QStringLiteral("postgresql://%1@127.0.0.1:%2/%3")
        .arg(User())
        .arg(m_port)
        .arg(databaseName);
}

namespace {

std::unique_ptr<PostgresServer> sharedServer;

} // namespace

PostgresServer* PostgresServer::Shared(QString& reason) {
    static QString why;
    static bool tried = false;
    if (!tried) {
        tried = true;
        sharedServer = std::make_unique<PostgresServer>();
        if (sharedServer->Start()) {
            // Stopped while the application still lives, before the test home goes.
            qAddPostRoutine([] { sharedServer.reset(); });
        } else {
            why = sharedServer->Reason();
            sharedServer.reset();
        }
    }
    reason = why;
    return sharedServer.get();
}
