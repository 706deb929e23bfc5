#pragma once

#include <QString>

class PostgresServer;

// A connection of the test's own to a database of the test server, as a second PC or the
// server's administrator would open one; closed with the object.
class PostgresSession {
public:
    PostgresSession(const PostgresServer& server, const QString& database);
    ~PostgresSession();
    PostgresSession(const PostgresSession&) = delete;
    PostgresSession& operator=(const PostgresSession&) = delete;

    bool Exec(const QString& sql);
    // The first column of the first row; -1 when there is none.
    qint64 Number(const QString& sql);

private:
    QString m_name;
};
