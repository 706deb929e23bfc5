// A PostgreSQL archive shared by several PCs: waits are bounded, a session the server ended
// is opened again once, and every failure says why in the user's language first.

#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveWriter.h"
#include "data/MValSet.h"
#include "meter/RecordLayout.h"
#include "support/PostgresServer.h"
#include "support/PostgresSession.h"
#include "support/PostgresTest.h"

#include <QElapsedTimer>
#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

MValSet Records(const QString& serial, int first, int last) {
    MValSet set;
    set.strMeter = QStringLiteral("Ardel 20 IR");
    set.strSerNo = serial;
    set.strUser = QStringLiteral("Marc");
    for (int i = first; i <= last; ++i) {
        set.strMVals += QStringLiteral("\r\n%1;02.04.24;13:45:10;3;1.5;NTU;OK;;;").arg(i);
    }
    set.strMVals += QStringLiteral("\r\n!\r\n>");
    return set;
}

class ArchiveServerTest : public PostgresTest {
protected:
    void SetUp() override {
        PostgresTest::SetUp();
        if (!Ready()) {
            return;
        }
        target = *ArchiveTarget::Parse(server->Address(name));
        ASSERT_TRUE(admin.Open(target)) << admin.Error().toStdString();
    }

    bool Add(ArchiveDatabase& db, const MValSet& set, ArchiveCounts& counts) {
        return ArchiveWriter(db).Add(set, RecordLayout::Of(MeterFamily::Ardel20), QString(),
                                     counts);
    }
    // Runs `sql` on the administrator's own connection.
    bool ByHand(const QString& sql) { return QSqlQuery(admin.Connection()).exec(sql); }
    static qint64 BackendOf(ArchiveDatabase& db) {
        QSqlQuery pid(db.Connection());
        return pid.exec(QStringLiteral("SELECT pg_backend_pid()")) && pid.next()
                   ? pid.value(0).toLongLong()
                   : -1;
    }
    // Runs `sql` on the server's own database, as its administrator would.
    bool OnServer(const QString& sql) {
        return PostgresSession(*server, QStringLiteral("postgres")).Exec(sql);
    }
    bool EndSessionOf(ArchiveDatabase& db) {
        return ByHand(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(BackendOf(db)));
    }

    ArchiveTarget target;
    ArchiveDatabase admin;
};

TEST_F(ArchiveServerTest, ALockHeldElsewhereOrAStatementTooLongEndsInTimeWithItsReason) {
    ArchiveDatabase db;
    ASSERT_TRUE(db.Open(target, ArchiveTimeouts{1, 2})) << db.Error().toStdString();
    ArchiveCounts counts;
    ASSERT_TRUE(Add(db, Records(QStringLiteral("A1"), 1, 1), counts)) << db.Error().toStdString();
    // Another PC's import of the same meter holds the meter's lock.
    ASSERT_TRUE(ByHand(QStringLiteral("SELECT pg_advisory_lock(id) FROM meters")));
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(Add(db, Records(QStringLiteral("A1"), 2, 2), counts));
    EXPECT_LT(timer.elapsed(), 4000);
    EXPECT_TRUE(db.Error().startsWith(QStringLiteral("L'archive %1 est occupée par un autre poste "
                                                     "depuis plus de 1 s")
                                          .arg(target.Display())))
        << db.Error().toStdString();
    EXPECT_TRUE(db.Error().contains(QStringLiteral("Détail: ERROR:  canceling statement due to "
                                                   "lock timeout")))
        << db.Error().toStdString();
    ASSERT_TRUE(ByHand(QStringLiteral("SELECT pg_advisory_unlock_all()")));

    // A write that takes too long is cancelled by the server.
    ASSERT_TRUE(ByHand(QStringLiteral("CREATE FUNCTION slow() RETURNS trigger LANGUAGE plpgsql "
                                      "AS $$ BEGIN PERFORM pg_sleep(30); RETURN NULL; END $$")));
    ASSERT_TRUE(ByHand(QStringLiteral("CREATE TRIGGER records_slow AFTER INSERT ON records "
                                      "FOR EACH STATEMENT EXECUTE FUNCTION slow()")));
    timer.restart();
    EXPECT_FALSE(Add(db, Records(QStringLiteral("A1"), 3, 3), counts));
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_TRUE(db.Error().contains(QStringLiteral("n'a pas terminé l'opération en 2 s")))
        << db.Error().toStdString();
    EXPECT_FALSE(db.Lost());
    // Outside a write the session has no time limit of its own: a long read is not cut.
    QSqlQuery timeout(db.Connection());
    ASSERT_TRUE(timeout.exec(QStringLiteral("SELECT current_setting('statement_timeout'), "
                                            "current_setting('lock_timeout')")) &&
                timeout.next());
    EXPECT_EQ(timeout.value(0).toString(), QStringLiteral("0"));
    EXPECT_EQ(timeout.value(1).toString(), QStringLiteral("1s"));
}

TEST_F(ArchiveServerTest, ASessionTheServerEndedIsOpenedAgainOnceThenArchivingStops) {
    ArchiveDatabase db;
    ASSERT_TRUE(db.Open(target)) << db.Error().toStdString();
    ArchiveCounts counts;
    ASSERT_TRUE(EndSessionOf(db));
    ASSERT_TRUE(Add(db, Records(QStringLiteral("A1"), 1, 3), counts)) << db.Error().toStdString();
    EXPECT_EQ(counts.added, 3);
    EXPECT_FALSE(db.Lost());

    // Gone for good: the new connection is refused as well.
    ASSERT_TRUE(OnServer(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS false").arg(name)));
    ASSERT_TRUE(EndSessionOf(db));
    EXPECT_FALSE(Add(db, Records(QStringLiteral("A1"), 4, 5), counts));
    EXPECT_TRUE(db.Lost());
    EXPECT_TRUE(db.Error().startsWith(
        QStringLiteral("La connexion au serveur d'archive %1 a été perdue").arg(target.Display())))
        << db.Error().toStdString();
    EXPECT_TRUE(db.Error().contains(QStringLiteral("is not currently accepting connections")))
        << db.Error().toStdString();
    ASSERT_TRUE(OnServer(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS true").arg(name)));
}

TEST_F(ArchiveServerTest, ARefusedConnectionOrStatementSaysSoFirstWithTheServersTextAfter) {
    ArchiveDatabase down;
    const ArchiveTarget nowhere = *ArchiveTarget::Parse(
        QStringLiteral("postgresql://mervex@127.0.0.1:%1/postgres").arg(FreeLocalPort()));
    EXPECT_FALSE(down.Open(nowhere));
    EXPECT_TRUE(down.Error().startsWith(
        QStringLiteral("Le serveur d'archive %1 ne peut pas être joint").arg(nowhere.Display())))
        << down.Error().toStdString();
    EXPECT_TRUE(down.Error().contains(QStringLiteral("Connection refused")))
        << down.Error().toStdString();

    ASSERT_TRUE(ByHand(QStringLiteral("ALTER TABLE records ADD CONSTRAINT no_a1 CHECK "
                                      "(raw_line NOT LIKE '2;%')")));
    ArchiveDatabase db;
    ASSERT_TRUE(db.Open(target)) << db.Error().toStdString();
    ArchiveCounts counts;
    EXPECT_FALSE(Add(db, Records(QStringLiteral("A1"), 1, 3), counts));
    EXPECT_TRUE(db.Error().startsWith(
        QStringLiteral("Le serveur d'archive %1 a refusé l'opération. Détail: ERROR:  new row")
            .arg(target.Display())))
        << db.Error().toStdString();
    // The driver's own words ("cannot execute…") add nothing to the server's.
    EXPECT_FALSE(db.Error().contains(QStringLiteral("QPSQL"))) << db.Error().toStdString();
}

} // namespace
