// Traceability from the command line: records set aside and taken back with a reason,
// imports reviewed by another account, all of it in the audit trail; and the PostgreSQL
// roles a lab gives its PCs and its LIMS.

#include "app/TextTables.h"
#include "support/CliRunner.h"
#include "support/DatasetFiles.h"
#include "support/PostgresServer.h"
#include "support/PostgresSession.h"
#include "support/PostgresTest.h"
#include "support/ProgramDirOverride.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

CliResult Archive(const QStringList& args, const QString& user = QString()) {
    const QStringList login =
        user.isEmpty() ? QStringList() : QStringList{QStringLiteral("--user"), user};
    return RunCli(login + QStringList{QStringLiteral("archive")} + args);
}

QJsonArray Json(const CliResult& result) {
    return QJsonDocument::fromJson(result.out.toUtf8()).array();
}

QStringList RecordIds(const QJsonArray& records) {
    QStringList ids;
    for (const QJsonValue& r : records) {
        ids << QString::number(r.toObject()[QStringLiteral("record_id")].toInteger());
    }
    return ids;
}

QList<QJsonObject> Events(const QJsonArray& log, const char* action) {
    QList<QJsonObject> events;
    for (const QJsonValue& e : log) {
        if (e.toObject()[QStringLiteral("action")].toString() == QLatin1String(action)) {
            events << e.toObject();
        }
    }
    return events;
}

class CliTraceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", dir.file(QStringLiteral("data")).toLocal8Bit());
    }
    void TearDown() override { qputenv("XDG_DATA_HOME", m_saved); }

    TempDir dir;

private:
    QByteArray m_saved;
};

TEST_F(CliTraceTest, InvalidRecordsLeaveTheQueryAndEveryChangeIsInTheLog) {
    const QString file = dir.file(QStringLiteral("a.csv"));
    WritePhotometerFile(file, QStringLiteral("S1"), ArchivePhotometerRecords(0, 4));
    ASSERT_EQ(Archive({QStringLiteral("add"), file}).exitCode, 0);
    const QStringList ids = RecordIds(Json(
        Archive({QStringLiteral("query"), QStringLiteral("--format"), QStringLiteral("json")})));
    ASSERT_EQ(ids.size(), 4);
    const CliResult invalidated =
        Archive({QStringLiteral("invalidate"), ids[1], ids[2], QStringLiteral("--reason"),
                 QStringLiteral("étalon périmé")},
                QStringLiteral("Anne"));
    ASSERT_EQ(invalidated.exitCode, 0) << invalidated.err.toStdString();
    EXPECT_EQ(invalidated.out, LoadResString(1835).arg(2).arg(0) + QLatin1Char('\n'));
    const CliResult csv = Archive({QStringLiteral("query")});
    EXPECT_EQ(csv.out.count(QLatin1Char('\n')), 3) << csv.out.toStdString();
    EXPECT_TRUE(csv.out.contains(QStringLiteral(",1\n")));
    const QJsonArray every =
        Json(Archive({QStringLiteral("query"), QStringLiteral("--include-invalid"),
                      QStringLiteral("--format"), QStringLiteral("json")}));
    ASSERT_EQ(every.size(), 4);
    EXPECT_EQ(every[1].toObject()[QStringLiteral("valid")], QJsonValue(false));
    EXPECT_EQ(every[0].toObject()[QStringLiteral("valid")], QJsonValue(true));
    const CliResult restored = Archive({QStringLiteral("restore"), ids[2], ids[3],
                                        QStringLiteral("--reason"), QStringLiteral("relu")});
    EXPECT_EQ(restored.out, LoadResString(1836).arg(1).arg(1) + QLatin1Char('\n'));

    const QJsonArray log =
        Json(Archive({QStringLiteral("log"), QStringLiteral("--format"), QStringLiteral("json")}));
    const QList<QJsonObject> set = Events(log, "record_invalidated");
    ASSERT_EQ(set.size(), 2) << Archive({QStringLiteral("log")}).out.toStdString();
    EXPECT_EQ(set[0][QStringLiteral("object")].toString(), QStringLiteral("record ") + ids[1]);
    EXPECT_EQ(set[0][QStringLiteral("reason")].toString(), QStringLiteral("étalon périmé"));
    EXPECT_EQ(set[0][QStringLiteral("user")].toString(), QStringLiteral("Anne"));
    EXPECT_FALSE(set[0][QStringLiteral("os_account")].toString().isEmpty());
    EXPECT_TRUE(set[0][QStringLiteral("event_at")].toString().endsWith(QLatin1Char('Z')));
    ASSERT_EQ(Events(log, "record_restored").size(), 1);
    EXPECT_EQ(Events(log, "record_restored")[0][QStringLiteral("old_value")].toString(),
              QStringLiteral("invalid"));
    // Nothing happened in the future; the fields come in their documented order.
    const CliResult none =
        Archive({QStringLiteral("log"), QStringLiteral("--from"), QStringLiteral("2999-01-01"),
                 QStringLiteral("--format"), QStringLiteral("tsv")});
    EXPECT_EQ(none.out, QStringLiteral("event_id\tevent_at\tuser\tos_account\tdb_role\thost\t"
                                       "program_version\taction\tobject\told_value\tnew_value\t"
                                       "reason\tdigest\n"));

    // What the person typed wrong is a usage error with its reason; what the archive does
    // not hold is refused.
    const std::pair<QStringList, QString> usage[] = {
        {{QStringLiteral("invalidate"), QStringLiteral("--reason"), QStringLiteral("x")}, {}},
        {{QStringLiteral("invalidate"), ids[0]}, LoadResString(1830)},
        {{QStringLiteral("restore"), ids[0], QStringLiteral("--reason"), QStringLiteral(" ")},
         LoadResString(1830)},
        {{QStringLiteral("invalidate"), QStringLiteral("12a"), QStringLiteral("--reason"),
          QStringLiteral("x")},
         LoadResString(1672).arg(QStringLiteral("RECORD_ID"), QStringLiteral("12a"))},
        {{QStringLiteral("review")}, {}},
        {{QStringLiteral("log"), QStringLiteral("--to"), QStringLiteral("hier")},
         LoadResString(1672).arg(QStringLiteral("--to"), QStringLiteral("hier"))}};
    for (const auto& [args, message] : usage) {
        const CliResult r = Archive(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(message)) << r.err.toStdString();
    }
    const CliResult unknown =
        Archive({QStringLiteral("invalidate"), ids[0], QStringLiteral("999999"),
                 QStringLiteral("--reason"), QStringLiteral("x")});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("999999"))) << unknown.err.toStdString();
    EXPECT_EQ(Archive({QStringLiteral("query")}).out.count(QLatin1Char('\n')), 4);
}

TEST_F(CliTraceTest, TheImportingAccountMayReviewOnlyWhereSettingsAllowIt) {
    const QString file = dir.file(QStringLiteral("a.csv"));
    WritePhotometerFile(file, QStringLiteral("S1"), ArchivePhotometerRecords(0, 2));
    ASSERT_EQ(Archive({QStringLiteral("add"), file}).exitCode, 0);
    // This account archived import 1: it may not approve its own work.
    const CliResult own = Archive({QStringLiteral("review"), QStringLiteral("1")});
    EXPECT_EQ(own.exitCode, 1);
    EXPECT_TRUE(own.err.startsWith(LoadResString(1833).section(QLatin1Char('%'), 0, 0)))
        << own.err.toStdString();
    EXPECT_EQ(Archive({QStringLiteral("review"), QStringLiteral("2")}).exitCode, 1);

    QFile settings(dir.file(QStringLiteral("program/Settings.ini")));
    ASSERT_TRUE(QDir().mkpath(dir.file(QStringLiteral("program"))));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Archive]\r\nAllowSelfReview=1\r\n");
    settings.close();
    const ProgramDirOverride folder(dir.file(QStringLiteral("program")));
    const CliResult alone = Archive({QStringLiteral("review"), QStringLiteral("1"),
                                     QStringLiteral("--comment"), QStringLiteral("seule au labo")},
                                    QStringLiteral("Lise"));
    ASSERT_EQ(alone.exitCode, 0) << alone.err.toStdString();
    EXPECT_TRUE(alone.out.startsWith(QStringLiteral("Import 1 ")));
    const QList<QJsonObject> reviews = Events(
        Json(Archive({QStringLiteral("log"), QStringLiteral("--format"), QStringLiteral("json")})),
        "review_given");
    ASSERT_EQ(reviews.size(), 1);
    EXPECT_EQ(reviews[0][QStringLiteral("object")].toString(), QStringLiteral("import 1"));
    EXPECT_EQ(reviews[0][QStringLiteral("reason")].toString(), QStringLiteral("seule au labo"));
    EXPECT_EQ(reviews[0][QStringLiteral("user")].toString(), QStringLiteral("Lise"));
}

// The roles docs/postgres-roles.md gives a lab, made with its SQL as written there.
class CliTraceServerTest : public PostgresTest {
protected:
    // The archive as `role` opens it, Settings.ini allowing the same account to review.
    void UseRole(const QString& role, const QString& database = QString()) {
        QFile settings(dir.file(QStringLiteral("Settings.ini")));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write(QStringLiteral("[Archive]\r\nDatabase=postgresql://%1@127.0.0.1:%2/%3\r\n"
                                      "AllowSelfReview=1\r\n")
                           .arg(role)
                           .arg(server->Port())
                           .arg(database.isEmpty() ? name : database)
                           .toUtf8());
    }
    // Runs the documented grants on this test's database, for roles named after it.
    void Grant() {
        QFile doc(QStringLiteral(MERVEX_SOURCE_DIR "/docs/postgres-roles.md"));
        ASSERT_TRUE(doc.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(doc.readAll());
        const QRegularExpressionMatch block =
            QRegularExpression(QStringLiteral("```sql\n(.*?)```"),
                               QRegularExpression::DotMatchesEverythingOption)
                .match(text);
        ASSERT_TRUE(block.hasMatch());
        QString sql = block.captured(1);
        sql.replace(QRegularExpression(QStringLiteral("\\bmervex_(writer|reader)\\b")),
                    name + QStringLiteral("_\\1"));
        sql.replace(QRegularExpression(QStringLiteral("DATABASE mervex\\b")),
                    QStringLiteral("DATABASE ") + name);
        PostgresSession admin(*server, name);
        for (const QString& role : {QStringLiteral("writer"), QStringLiteral("reader")}) {
            ASSERT_TRUE(admin.Exec(QStringLiteral("CREATE ROLE %1_%2 LOGIN").arg(name, role)));
        }
        for (const QString& statement : sql.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (!statement.trimmed().isEmpty()) {
                ASSERT_TRUE(admin.Exec(statement)) << statement.toStdString();
            }
        }
    }

    TempDir dir;
};

TEST_F(CliTraceServerTest, TheDocumentedRolesWriteAndReadAsTheySay) {
    if (!Ready()) {
        return;
    }
    const ProgramDirOverride folder(dir.path());
    const QString first = dir.file(QStringLiteral("first.csv"));
    const QString second = dir.file(QStringLiteral("second.csv"));
    WritePhotometerFile(first, QStringLiteral("S1"), ArchivePhotometerRecords(0, 3));
    WritePhotometerFile(second, QStringLiteral("S1"), ArchivePhotometerRecords(3, 3));
    UseRole(PostgresServer::User());
    ASSERT_EQ(Archive({QStringLiteral("add"), first}).exitCode, 0);
    Grant();
    if (HasFatalFailure()) {
        return;
    }
    // A writer cannot make the tables (nor upgrade them): the owner must, and it says so.
    UseRole(name + QStringLiteral("_writer"), server->NewDatabase(QStringLiteral("fresh")));
    const CliResult early = Archive({QStringLiteral("info")});
    EXPECT_EQ(early.exitCode, 3);
    EXPECT_TRUE(early.err.contains(QStringLiteral("« %1_writer »").arg(name)))
        << early.err.toStdString();

    UseRole(name + QStringLiteral("_writer"));
    const CliResult added = Archive({QStringLiteral("add"), second});
    ASSERT_EQ(added.exitCode, 0) << added.err.toStdString() << added.out.toStdString();
    const QStringList ids = RecordIds(Json(
        Archive({QStringLiteral("query"), QStringLiteral("--format"), QStringLiteral("json")})));
    ASSERT_EQ(ids.size(), 6);
    const CliResult invalidated = Archive(
        {QStringLiteral("invalidate"), ids[0], QStringLiteral("--reason"), QStringLiteral("x")});
    EXPECT_EQ(invalidated.exitCode, 0) << invalidated.err.toStdString();
    const CliResult reviewed = Archive({QStringLiteral("review"), QStringLiteral("1")});
    EXPECT_EQ(reviewed.exitCode, 0) << reviewed.err.toStdString();

    UseRole(name + QStringLiteral("_reader"));
    EXPECT_EQ(
        Json(Archive({QStringLiteral("query"), QStringLiteral("--format"), QStringLiteral("json")}))
            .size(),
        5);
    const QJsonArray log =
        Json(Archive({QStringLiteral("log"), QStringLiteral("--format"), QStringLiteral("json")}));
    ASSERT_EQ(Events(log, "record_invalidated").size(), 1);
    EXPECT_EQ(Events(log, "record_invalidated")[0][QStringLiteral("db_role")].toString(),
              name + QStringLiteral("_writer"));
    const QString readOnly = QStringLiteral("« %1_reader »").arg(name);
    for (const QStringList& args : {QStringList{QStringLiteral("invalidate"), ids[1],
                                                QStringLiteral("--reason"), QStringLiteral("x")},
                                    QStringList{QStringLiteral("review"), QStringLiteral("1")},
                                    QStringList{QStringLiteral("add"), first}}) {
        const CliResult refused = Archive(args);
        EXPECT_EQ(refused.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(refused.err.contains(readOnly)) << refused.err.toStdString();
    }
}

} // namespace
