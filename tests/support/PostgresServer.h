#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A throw-away PostgreSQL server for tests: initdb and pg_ctl into a temporary folder, run
// as an unprivileged user when the tests run as root (the server refuses root), listening
// on a free port of 127.0.0.1 with trust authentication, stopped and removed with the
// object. Where the server programs are missing, Start() fails and Reason() says why.
class PostgresServer {
public:
    PostgresServer() = default;
    ~PostgresServer();
    PostgresServer(const PostgresServer&) = delete;
    PostgresServer& operator=(const PostgresServer&) = delete;

    bool Start();
    const QString& Reason() const { return m_reason; }
    int Port() const { return m_port; }
    // The superuser the server was made with.
    static QString User() { return QStringLiteral("mervex"); }
    // Creates an empty database; false with Reason() when the server refused.
    bool CreateDatabase(const QString& name);
    // A new empty database named `prefix` and a number; empty with Reason() when refused.
    QString NewDatabase(const QString& prefix);
    // postgresql://mervex@127.0.0.1:PORT/NAME
    QString Address(const QString& databaseName) const;

    // The process-wide server, started on first use; nullptr (with the reason in
    // `reason`) where none can run.
    static PostgresServer* Shared(QString& reason);

private:
    bool Run(const QString& program, const QStringList& args, int timeoutMs);
    QString Bin(const QString& program) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_binDir;
    QString m_runAs; // the user running the server, empty for ourselves
    int m_port = 0;
    bool m_running = false;
    int m_databases = 0;
    QString m_reason;
};

// A TCP port of 127.0.0.1 that nothing listens on right now.
int FreeLocalPort();
