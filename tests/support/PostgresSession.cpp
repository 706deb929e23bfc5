#include "support/PostgresSession.h"

#include "support/PostgresServer.h"

#include <QAtomicInteger>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

PostgresSession::PostgresSession(const PostgresServer& server, const QString& database) {
    static QAtomicInteger<int> counter;
    m_name = QStringLiteral("test-session-%1").arg(counter.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
    db.setHostName(QStringLiteral("127.0.0.1"));
    db.setPort(server.Port());
    db.setUserName(PostgresServer::User());
    db.setDatabaseName(database);
    db.open();
}

PostgresSession::~PostgresSession() {
    QSqlDatabase::removeDatabase(m_name);
}

bool PostgresSession::Exec(const QString& sql) {
    return QSqlQuery(QSqlDatabase::database(m_name, false)).exec(sql);
}

qint64 PostgresSession::Number(const QString& sql) {
    QSqlQuery query(QSqlDatabase::database(m_name, false));
    return query.exec(sql) && query.next() ? query.value(0).toLongLong() : -1;
}
