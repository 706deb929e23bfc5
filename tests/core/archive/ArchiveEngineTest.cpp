// The archive's behaviour on both engines: the same cases on an SQLite file and on a
// PostgreSQL server the test starts itself.

#include "app/TextTables.h"
#include "archive/ArchiveChain.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveIdentity.h"
#include "archive/ArchiveQuery.h"
#include "archive/ArchiveTrail.h"
#include "archive/ArchiveWriter.h"
#include "archive/ImportReview.h"
#include "archive/QcImportCheck.h"
#include "archive/QcStore.h"
#include "archive/RecordValidity.h"
#include "data/MValSet.h"
#include "data/RecordWalker.h"
#include "meter/RecordLayout.h"
#include "qc/QcJudge.h"
#include "qc/QcReport.h"
#include "support/PostgresServer.h"
#include "support/TempDir.h"

#include <QSqlQuery>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

enum class Engine { Sqlite, Postgres };

MValSet Dataset(const QString& meter, const QString& serial, const QStringList& lines,
                const QString& user = QStringLiteral("Hélène")) {
    MValSet set;
    set.strMeter = meter;
    set.strSerNo = serial;
    set.strUser = user;
    set.curDate = QDateTime(QDate(2024, 7, 12), QTime(10, 0, 0));
    set.strMVals =
        QStringLiteral("\r\n") + lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n!\r\n>");
    return set;
}

// Photometer record i, measured on day i of March 2024 with program 300 + i % 3.
QString Photometer(int i, const QString& id = QString()) {
    return QStringLiteral("%1;%2.03.24;08:15:00;%3;%4;NO3-N;;1:1;%5.25;mg/l;OK;----;mg/l;;"
                          "01.03.24;07:00:00")
        .arg(i)
        .arg(i, 2, 10, QLatin1Char('0'))
        .arg(id.isEmpty() ? QString::number(100 + i) : id)
        .arg(300 + i % 3)
        .arg(i);
}

QStringList Photometers(int first, int last) {
    QStringList lines;
    for (int i = first; i <= last; ++i) {
        lines << Photometer(i);
    }
    return lines;
}

class ArchiveEngineTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override {
        if (GetParam() == Engine::Sqlite) {
            target.path = dir.file(QStringLiteral("archive.sqlite"));
            return;
        }
        QString reason;
        PostgresServer* server = PostgresServer::Shared(reason);
        if (server == nullptr) {
            GTEST_SKIP() << "PostgreSQL half skipped: " << reason.toStdString();
        }
        static int counter = 0;
        const QString name = QStringLiteral("archive_%1").arg(++counter);
        ASSERT_TRUE(server->CreateDatabase(name)) << server->Reason().toStdString();
        target = *ArchiveTarget::Parse(server->Address(name));
    }

    bool Open(ArchiveDatabase& db) { return db.Open(target); }
    ArchiveCounts Add(const MValSet& set,
                      const RecordLayout& layout = RecordLayout::Of(MeterFamily::Photometer)) {
        ArchiveCounts counts;
        ArchiveWriter writer(db);
        EXPECT_TRUE(writer.Add(set, layout, QString(), counts)) << db.Error().toStdString();
        return counts;
    }
    QList<ArchivedRecord> Query(const ArchiveFilter& filter) {
        QList<ArchivedRecord> records;
        ArchiveQuery query(db);
        EXPECT_TRUE(query.Records(filter, records)) << db.Error().toStdString();
        return records;
    }

    // Runs `sql` on the archive's own connection, as someone with a database tool would.
    bool ByHand(const QString& sql) {
        QSqlQuery query(db.Connection());
        return query.exec(sql);
    }
    qint64 Number(const QString& sql) {
        QSqlQuery query(db.Connection());
        return query.exec(sql) && query.next() ? query.value(0).toLongLong() : -1;
    }
    // Lets anyone with the database's rights change what the archive keeps: its append-only
    // rule dropped, as an owner role or a tool editing the SQLite file could.
    void DropAppendOnly() {
        if (GetParam() == Engine::Postgres) {
            ASSERT_TRUE(ByHand(QStringLiteral("DROP FUNCTION mervex_append_only() CASCADE")));
            return;
        }
        QSqlQuery triggers(db.Connection());
        ASSERT_TRUE(
            triggers.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'trigger'")));
        QStringList names;
        while (triggers.next()) {
            names << triggers.value(0).toString();
        }
        triggers.finish();
        for (const QString& name : names) {
            ASSERT_TRUE(ByHand(QStringLiteral("DROP TRIGGER %1").arg(name)));
        }
    }
    // Turns the open archive back into a version 3 archive: no traceability.
    void MakeVersion3() {
        DropAppendOnly();
        for (const char* table :
             {"audit_trail", "import_reviews", "record_states", "import_results"}) {
            ASSERT_TRUE(ByHand(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table))));
        }
        for (const char* table : {"imports", "qc_controls", "qc_versions", "limit_versions"}) {
            for (const char* column : {"os_account", "host_name", "program_version", "db_role"}) {
                ASSERT_TRUE(ByHand(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2")
                                       .arg(QLatin1String(table), QLatin1String(column))));
            }
        }
        ASSERT_TRUE(ByHand(QStringLiteral("UPDATE archive_schema SET version = 3")));
    }
    // Turns the open archive back into a version 1 archive without records: the same meters
    // and imports, records without their key and without the rule that keeps them once, and
    // no quality control.
    void MakeVersion1() {
        MakeVersion3();
        const bool pg = GetParam() == Engine::Postgres;
        const QString time = pg ? QStringLiteral("TIMESTAMP") : QStringLiteral("INTEGER");
        for (const char* table : {"records", "qc_versions", "qc_controls", "limit_versions"}) {
            ASSERT_TRUE(ByHand(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table))));
        }
        ASSERT_TRUE(ByHand(
            QStringLiteral("CREATE TABLE records (id %1, import_id %2 NOT NULL REFERENCES "
                           "imports(id), meter_id %2 NOT NULL REFERENCES meters(id), "
                           "record_number INTEGER, measured_at %3, program_number INTEGER, "
                           "sample_id TEXT, value1 %4, value2 %4, calibrated_at %3, raw_line "
                           "TEXT NOT NULL)")
                .arg(pg ? QStringLiteral("BIGSERIAL PRIMARY KEY")
                        : QStringLiteral("INTEGER PRIMARY KEY"),
                     pg ? QStringLiteral("BIGINT") : QStringLiteral("INTEGER"), time,
                     pg ? QStringLiteral("DOUBLE PRECISION") : QStringLiteral("REAL"))));
        ASSERT_TRUE(ByHand(QStringLiteral("CREATE INDEX records_time ON records (measured_at, "
                                          "meter_id)")));
        ASSERT_TRUE(ByHand(QStringLiteral("CREATE INDEX records_program ON records "
                                          "(program_number, measured_at)")));
        ASSERT_TRUE(ByHand(QStringLiteral("UPDATE archive_schema SET version = 1")));
    }
    // A meter of version 1 with one import, as any program could have made it.
    void AddMeterVersion1(const QString& serial) {
        QStringList kinds;
        for (const int kind : RecordLayout::Of(MeterFamily::Photometer).Kinds()) {
            kinds << QString::number(kind);
        }
        QSqlQuery meter(db.Connection());
        meter.prepare(QStringLiteral(
            "INSERT INTO meters (model, serial_number, column_kinds) VALUES ('Zentravox', ?, ?)"));
        meter.addBindValue(serial);
        meter.addBindValue(kinds.join(QLatin1Char(',')));
        ASSERT_TRUE(meter.exec());
        QSqlQuery import(db.Connection());
        import.prepare(QStringLiteral(
            "INSERT INTO imports (meter_id, user_name, imported_at, archived_at, record_count, "
            "added_count) SELECT id, 'Marc', ?, ?, 0, 0 FROM meters WHERE serial_number = ?"));
        const QVariant now = db.TimeValue(QDateTime::currentDateTime());
        import.addBindValue(now);
        import.addBindValue(now);
        import.addBindValue(serial);
        ASSERT_TRUE(import.exec());
    }
    // A record as version 1 stored it, under the meter with `serial` and its import.
    void AddVersion1(const QString& serial, const QString& line) {
        const ArchiveRecord r =
            ArchiveRecord::FromLine(line, RecordLayout::Of(MeterFamily::Photometer));
        QSqlQuery insert(db.Connection());
        insert.prepare(QStringLiteral(
            "INSERT INTO records (import_id, meter_id, record_number, measured_at, sample_id, "
            "raw_line) SELECT i.id, m.id, ?, ?, ?, ? FROM meters m JOIN imports i ON i.meter_id = "
            "m.id "
            "WHERE m.serial_number = ?"));
        insert.addBindValue(*r.recordNumber);
        insert.addBindValue(db.TimeValue(r.measuredAt));
        insert.addBindValue(r.sampleId);
        insert.addBindValue(line);
        insert.addBindValue(serial);
        ASSERT_TRUE(insert.exec() && insert.numRowsAffected() == 1) << serial.toStdString();
    }

    TempDir dir;
    ArchiveTarget target;
    ArchiveDatabase db;
};

TEST_P(ArchiveEngineTest, CreatesItsSchemaOnceAndRefusesANewerOne) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    EXPECT_EQ(db.SchemaVersion(), ArchiveDatabase::kSchemaVersion);
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"), Photometers(1, 3)));
    {
        ArchiveDatabase again;
        ASSERT_TRUE(Open(again)) << again.Error().toStdString();
        ArchiveTotals totals;
        ASSERT_TRUE(ArchiveQuery(again).Totals(totals));
        EXPECT_EQ(totals.records, 3);
        EXPECT_EQ(totals.imports, 1);
        QSqlQuery(again.Connection()).exec(QStringLiteral("UPDATE archive_schema SET version = 7"));
    }
    ArchiveDatabase newer;
    EXPECT_FALSE(Open(newer));
    EXPECT_TRUE(newer.Error().contains(QStringLiteral("plus récente")))
        << newer.Error().toStdString();
    EXPECT_TRUE(newer.Error().contains(QStringLiteral("7"))) << newer.Error().toStdString();
}

TEST_P(ArchiveEngineTest, AddsEachRecordOncePerMeter) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    // A record whose date cannot be read is kept, once, like any other.
    const QString undated = QStringLiteral("99;--.--.--;--:--;1;300;NO3-N;;;1.0;mg/l;OK;;;;;");
    const ArchiveCounts first = Add(
        Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"), Photometers(1, 10) << undated));
    EXPECT_EQ(first.records, 11);
    EXPECT_EQ(first.added, 11);
    // The meter's memory was not cleared: the old records again, with five new ones.
    const ArchiveCounts second = Add(
        Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"), Photometers(1, 15) << undated));
    EXPECT_EQ(second.added, 5);
    EXPECT_EQ(second.present(), 11);
    // The same lines from another meter are other measurements.
    const ArchiveCounts other =
        Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S2"), Photometers(1, 10)));
    EXPECT_EQ(other.added, 10);
    qint64 count = 0;
    ASSERT_TRUE(ArchiveQuery(db).Count({}, count));
    EXPECT_EQ(count, 26);
    // An import without a user is archived all the same.
    const ArchiveCounts unnamed = Add(
        Dataset(QStringLiteral("Zentravox"), QStringLiteral("S3"), Photometers(1, 2), QString()));
    EXPECT_EQ(unnamed.added, 2);
}

TEST_P(ArchiveEngineTest, AddsALargeImportInFewStatementsWithExactCounts) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    const bool pg = GetParam() == Engine::Postgres;
    if (pg) {
        // Each INSERT statement into the records, however many rows it carries, counts one.
        ASSERT_TRUE(ByHand(QStringLiteral("CREATE TABLE statements (n INTEGER)")));
        ASSERT_TRUE(ByHand(QStringLiteral("INSERT INTO statements VALUES (0)")));
        ASSERT_TRUE(ByHand(
            QStringLiteral("CREATE FUNCTION count_statement() RETURNS trigger LANGUAGE plpgsql AS "
                           "$$ BEGIN UPDATE statements SET n = n + 1; RETURN NULL; END $$")));
        ASSERT_TRUE(ByHand(QStringLiteral("CREATE TRIGGER records_statements AFTER INSERT ON "
                                          "records FOR EACH STATEMENT EXECUTE FUNCTION "
                                          "count_statement()")));
    }
    // Old and new records interleaved across the statements' boundaries, a new one twice in
    // one statement, and a short last one.
    QStringList lines;
    for (int i = 1; i <= 1234; ++i) {
        lines
            << QStringLiteral("%1;--.--.--;--:--;%2;300;NO3-N;;1:1;1.0;mg/l;OK;;;;;").arg(i).arg(i);
    }
    QStringList odd;
    for (qsizetype i = 0; i < lines.size(); i += 2) {
        odd << lines[i];
    }
    const QString model = QStringLiteral("Zentravox");
    EXPECT_EQ(Add(Dataset(model, QStringLiteral("S1"), odd)).added, 617);
    lines.insert(2, lines[1]);
    const ArchiveCounts all = Add(Dataset(model, QStringLiteral("S1"), lines));
    EXPECT_EQ(all.records, 1235);
    EXPECT_EQ(all.added, 617);
    EXPECT_EQ(Number(QStringLiteral("SELECT COUNT(*) FROM records")), 1234);
    EXPECT_EQ(Number(QStringLiteral("SELECT added_count FROM import_results ORDER BY id DESC")),
              617);
    // Each record taken is the one its import's digest covers, wherever the skipped ones were.
    ChainReport chain;
    ASSERT_TRUE(ArchiveChain(db).Verify(chain)) << db.Error().toStdString();
    EXPECT_TRUE(chain.Intact()) << chain.importWhy.toStdString();
    if (pg) {
        EXPECT_LE(Number(QStringLiteral("SELECT n FROM statements")), 6);
    }
}

TEST_P(ArchiveEngineTest, ARecordWithANulCharacterIsRefusedAloneWithItsReason) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    QString broken = Photometer(2);
    broken[4] = QChar(0);
    const ArchiveCounts counts = Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"),
                                             {Photometer(1), broken, Photometer(3)}));
    EXPECT_EQ(counts.records, 3);
    EXPECT_EQ(counts.added, 2);
    EXPECT_EQ(counts.present(), 0);
    ASSERT_EQ(counts.refused.size(), 1);
    EXPECT_TRUE(counts.refused[0].contains(QStringLiteral("n° 2 contient un caractère nul")))
        << counts.refused[0].toStdString();
    EXPECT_EQ(Number(QStringLiteral("SELECT COUNT(*) FROM records")), 2);
}

TEST_P(ArchiveEngineTest, RecordsReadBackKeepTheirMetersAndAreNeverFiledUnderAPlaceholder) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    const QString model = QStringLiteral("Zentravox");
    Add(Dataset(model, QStringLiteral("S1"), Photometers(1, 3)));
    Add(Dataset(model, QStringLiteral("S2"), Photometers(4, 5), QStringLiteral("Marc")));
    ArchiveFilter filter;
    filter.model = model;
    MValSet back;
    ASSERT_TRUE(ArchiveQuery(db).Dataset(filter, back));
    ASSERT_EQ(back.origins.size(), 5);
    EXPECT_EQ(back.origins[4].serial, QStringLiteral("S2"));
    EXPECT_EQ(back.origins[4].user, QStringLiteral("Marc"));
    // And what the archive knows each by: its own id, its import, its validity.
    EXPECT_GT(back.origins[4].recordId, back.origins[0].recordId);
    EXPECT_GT(back.origins[4].importId, back.origins[0].importId);
    EXPECT_TRUE(back.origins[4].valid);
    const ArchiveCounts again = Add(back);
    EXPECT_EQ(again.records, 5);
    EXPECT_EQ(again.added, 0);
    ArchiveTotals totals;
    ASSERT_TRUE(ArchiveQuery(db).Totals(totals));
    EXPECT_EQ(totals.records, 5);
    EXPECT_EQ(totals.imports, 2); // nothing added: no import row
    // One new record of S2 among them: one import row, for S2 only.
    back.strMVals.replace(QStringLiteral("\r\n!"),
                          QStringLiteral("\r\n") + Photometer(6) + QStringLiteral("\r\n!"));
    back.origins.append(RecordOrigin{QStringLiteral("S2"), QStringLiteral("Marc")});
    EXPECT_EQ(Add(back).added, 1);
    ASSERT_TRUE(ArchiveQuery(db).Totals(totals));
    EXPECT_EQ(totals.imports, 3);
    ArchiveFilter s2;
    s2.serial = QStringLiteral("S2");
    EXPECT_EQ(Query(s2).size(), 3);
    // Saved to a file and opened again, such records no longer say their meters: refused,
    // as is any placeholder, and nothing of them is archived.
    for (const char* serial : {"S1, S2", "*", ""}) {
        MValSet file = back;
        file.origins.clear();
        file.strSerNo = QLatin1String(serial);
        ArchiveCounts counts;
        EXPECT_FALSE(ArchiveWriter(db).Add(file, RecordLayout::Of(MeterFamily::Photometer),
                                           QString(), counts))
            << serial;
        EXPECT_TRUE(db.Error().contains(QStringLiteral("\"%1\"").arg(QLatin1String(serial))))
            << db.Error().toStdString();
    }
    ASSERT_TRUE(ArchiveQuery(db).Totals(totals));
    EXPECT_EQ(totals.meters, 2);
    EXPECT_EQ(totals.records, 6);
}

TEST_P(ArchiveEngineTest, TheDatabaseItselfRefusesASecondCopyAndADanglingReference) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"), Photometers(1, 2)));
    const QString copy = QStringLiteral(
        "INSERT INTO records (import_id, meter_id, record_key, raw_line) SELECT import_id %1, "
        "meter_id, %2, raw_line FROM records WHERE record_number = 1");
    EXPECT_FALSE(ByHand(copy.arg(QString(), QStringLiteral("record_key"))));
    EXPECT_FALSE(ByHand(copy.arg(QStringLiteral("+ 100"), QStringLiteral("'other'"))));
    EXPECT_FALSE(ByHand(copy.arg(QString(), QStringLiteral("NULL"))));
    // The same statement with a key of its own and an existing import is taken.
    EXPECT_TRUE(ByHand(copy.arg(QString(), QStringLiteral("'other'"))));
    EXPECT_EQ(Number(QStringLiteral("SELECT COUNT(*) FROM records")), 3);
}

TEST_P(ArchiveEngineTest, UpgradeFromVersion1FoldsDuplicatesInOneTransaction) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    const QString model = QStringLiteral("Zentravox");
    MakeVersion1();
    for (const char* serial : {"S1", "S1, S2", "S2"}) {
        AddMeterVersion1(QLatin1String(serial));
    }
    // A record twice under its own meter, and a document of two meters archived again under
    // their joined serial numbers: copies of S1's records and one record of its own.
    const QStringList ofS1 = Photometers(1, 3) << Photometer(2);
    const QStringList ofBoth = Photometers(1, 3) << Photometer(9);
    for (const QString& line : ofS1) {
        AddVersion1(QStringLiteral("S1"), line);
    }
    for (const QString& line : ofBoth) {
        AddVersion1(QStringLiteral("S1, S2"), line);
    }
    AddVersion1(QStringLiteral("S2"), Photometer(1));
    // An upgrade that fails half-way leaves version 1 as it was.
    ASSERT_TRUE(ByHand(QStringLiteral("CREATE TABLE records_v1 (id INTEGER)")));
    {
        ArchiveDatabase failed;
        EXPECT_FALSE(Open(failed));
    }
    EXPECT_EQ(Number(QStringLiteral("SELECT MAX(version) FROM archive_schema")), 1);
    EXPECT_EQ(Number(QStringLiteral("SELECT COUNT(*) FROM records")), 9);
    ASSERT_TRUE(ByHand(QStringLiteral("DROP TABLE records_v1")));

    ArchiveDatabase upgraded;
    ASSERT_TRUE(Open(upgraded)) << upgraded.Error().toStdString();
    EXPECT_EQ(upgraded.SchemaVersion(), ArchiveDatabase::kSchemaVersion);
    EXPECT_EQ(upgraded.UpgradedFrom(), 1);
    EXPECT_EQ(upgraded.FoldedRecords(), 4);
    EXPECT_TRUE(upgraded.UpgradeNote().contains(QStringLiteral(" 4 ")))
        << upgraded.UpgradeNote().toStdString();
    ArchiveFilter s1;
    s1.serial = QStringLiteral("S1");
    EXPECT_EQ(Query(s1).size(), 3);
    EXPECT_EQ(Query({}).size(), 5);
    // The upgrade filled the new columns of the old records: the search's, the citation
    // form's, and the instant each was measured.
    ArchiveFilter sample;
    sample.sampleId = QStringLiteral("101");
    EXPECT_EQ(Query(sample).size(), 2);
    ArchiveFilter citation;
    citation.citation = QStringLiteral("NO3-N");
    EXPECT_EQ(Query(citation).size(), 5);
    EXPECT_EQ(Number(QStringLiteral("SELECT COUNT(*) FROM records WHERE measured_utc IS NULL")), 0);
    // The first copy stayed: S1's record 2 is still its second record.
    EXPECT_EQ(Number(QStringLiteral("SELECT COUNT(*) FROM records WHERE id = 2 AND "
                                    "record_number = 2")),
              1);
    // Upgraded, the archive keeps each record once and numbers new ones after the old.
    ArchiveCounts again;
    ASSERT_TRUE(ArchiveWriter(upgraded).Add(Dataset(model, QStringLiteral("S1"), Photometers(1, 4)),
                                            RecordLayout::Of(MeterFamily::Photometer), QString(),
                                            again))
        << upgraded.Error().toStdString();
    EXPECT_EQ(again.added, 1);
    EXPECT_GT(Number(QStringLiteral("SELECT MAX(id) FROM records")), 9);
    ArchiveDatabase later;
    ASSERT_TRUE(Open(later));
    EXPECT_EQ(later.UpgradedFrom(), 0);
    EXPECT_TRUE(later.UpgradeNote().isEmpty());
}

TEST_P(ArchiveEngineTest, UpgradeFromVersion2AddsQualityControlAndKeepsTheRecords) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"), Photometers(1, 5)));
    MakeVersion3();
    for (const char* table : {"qc_versions", "qc_controls", "limit_versions"}) {
        ASSERT_TRUE(ByHand(QStringLiteral("DROP TABLE %1").arg(QLatin1String(table))));
    }
    for (const char* column : {"value1_text", "state1"}) {
        ASSERT_TRUE(ByHand(
            QStringLiteral("ALTER TABLE records DROP COLUMN %1").arg(QLatin1String(column))));
    }
    ASSERT_TRUE(ByHand(QStringLiteral("UPDATE archive_schema SET version = 2")));
    ArchiveDatabase upgraded;
    ASSERT_TRUE(Open(upgraded)) << upgraded.Error().toStdString();
    EXPECT_EQ(upgraded.UpgradedFrom(), 2);
    EXPECT_EQ(upgraded.SchemaVersion(), ArchiveDatabase::kSchemaVersion);
    EXPECT_EQ(
        upgraded.UpgradeNote(),
        LoadResString(1673).arg(upgraded.Target().Display()).arg(ArchiveDatabase::kSchemaVersion));
    EXPECT_EQ(Query({}).size(), 5);
    // The records archived before the chain existed are chained by the upgrade, and the
    // journal says when it was made.
    ChainReport chain;
    ASSERT_TRUE(ArchiveChain(upgraded).Verify(chain)) << upgraded.Error().toStdString();
    EXPECT_TRUE(chain.Intact()) << chain.importWhy.toStdString() << chain.eventWhy.toStdString();
    EXPECT_EQ(chain.records, 5);
    QStringList upgrades;
    ArchiveTrail(upgraded).Read({}, {}, [&](const AuditEvent& e) {
        upgrades << e.action + QLatin1Char(' ') + e.oldValue + QLatin1Char('>') + e.newValue;
        return true;
    });
    EXPECT_EQ(upgrades, QStringList({QStringLiteral("schema_upgraded 2>4")}));
    LimitValue limit;
    limit.program = 301;
    limit.lower = 1.0;
    EXPECT_TRUE(QcStore(upgraded).AddLimit(limit)) << upgraded.Error().toStdString();
    // Quality control reads the first value's text and state from the columns the upgrade
    // filled from each line.
    QcControl control;
    control.matchText = QStringLiteral("103");
    QList<QcRecord> records;
    ASSERT_TRUE(QcStore(upgraded).Records(control, records)) << upgraded.Error().toStdString();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].value1Text, QStringLiteral("3.25"));
    EXPECT_EQ(records[0].state1, QStringLiteral("OK"));
    EXPECT_EQ(records[0].citation, QStringLiteral("NO3-N"));
}

TEST_P(ArchiveEngineTest, NoRowCanBeChangedAndTheChainNamesTheImportAlteredBehindItsBack) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    const QString model = QStringLiteral("Zentravox");
    Add(Dataset(model, QStringLiteral("S1"), Photometers(1, 3)));
    const qint64 second = Add(Dataset(model, QStringLiteral("S1"), Photometers(4, 6))).imports[0];
    Add(Dataset(model, QStringLiteral("S2"), Photometers(1, 2), QStringLiteral("Marc")));
    // An import names who made it beyond the login name anyone can type.
    QSqlQuery who(db.Connection());
    ASSERT_TRUE(who.exec(QStringLiteral("SELECT user_name, os_account, host_name, "
                                        "program_version FROM imports ORDER BY id DESC")) &&
                who.next());
    EXPECT_EQ(who.value(0).toString(), QStringLiteral("Marc"));
    for (int column = 1; column < 4; ++column) {
        EXPECT_FALSE(who.value(column).toString().isEmpty()) << column;
    }
    who.finish();

    const bool pg = GetParam() == Engine::Postgres;
    QStringList refusals{QStringLiteral("UPDATE records SET value1 = 9"),
                         QStringLiteral("DELETE FROM records"),
                         QStringLiteral("UPDATE imports SET user_name = 'Eve'"),
                         QStringLiteral("DELETE FROM import_results"),
                         QStringLiteral("UPDATE audit_trail SET reason = 'none'"),
                         QStringLiteral("DELETE FROM audit_trail")};
    if (pg) {
        refusals << QStringLiteral("TRUNCATE records CASCADE");
    }
    for (const QString& sql : refusals) {
        QSqlQuery change(db.Connection());
        EXPECT_FALSE(change.exec(sql)) << sql.toStdString();
        EXPECT_TRUE(change.lastError().text().contains(QLatin1String("append-only")))
            << change.lastError().text().toStdString();
    }

    ChainReport chain;
    ASSERT_TRUE(ArchiveChain(db).Verify(chain)) << db.Error().toStdString();
    EXPECT_TRUE(chain.Intact()) << chain.importWhy.toStdString() << chain.eventWhy.toStdString();
    EXPECT_EQ(chain.imports, 3);
    EXPECT_EQ(chain.records, 8);
    EXPECT_EQ(chain.events, 4); // the archive made, three imports

    // Someone with the owner's rights drops the rule and edits one value.
    DropAppendOnly();
    ASSERT_TRUE(ByHand(QStringLiteral("UPDATE records SET value1 = 4.5 WHERE record_number = 5 "
                                      "AND import_id = %1")
                           .arg(second)));
    ASSERT_TRUE(ArchiveChain(db).Verify(chain)) << db.Error().toStdString();
    EXPECT_EQ(chain.badImport, second);
    EXPECT_EQ(chain.importWhy, LoadResString(1801));
    EXPECT_EQ(chain.badEvent, 0);
    // A line changed with its key left as it was, and an event of the journal.
    ASSERT_TRUE(ByHand(QStringLiteral("UPDATE records SET value1 = 5.25, raw_line = "
                                      "replace(raw_line, 'NO3', 'NO2') WHERE record_number = 5 "
                                      "AND import_id = %1")
                           .arg(second)));
    ASSERT_TRUE(ByHand(QStringLiteral("UPDATE audit_trail SET user_name = 'Eve' WHERE id = 3")));
    ASSERT_TRUE(ArchiveChain(db).Verify(chain)) << db.Error().toStdString();
    EXPECT_EQ(chain.badImport, second);
    EXPECT_TRUE(chain.importWhy.startsWith(LoadResString(1802).section(QLatin1Char('%'), 0, 0)))
        << chain.importWhy.toStdString();
    EXPECT_EQ(chain.badEvent, 3);
    // The last import removed with its records and results leaves no broken link; the
    // journal still names it.
    ASSERT_TRUE(ByHand(QStringLiteral("UPDATE records SET raw_line = replace(raw_line, 'NO2', "
                                      "'NO3') WHERE import_id = %1")
                           .arg(second)));
    ASSERT_TRUE(ByHand(QStringLiteral("UPDATE audit_trail SET user_name = 'Hélène' WHERE id = 3")));
    const qint64 last = Number(QStringLiteral("SELECT MAX(id) FROM imports"));
    for (const char* table : {"records", "import_results", "imports"}) {
        ASSERT_TRUE(
            ByHand(QStringLiteral("DELETE FROM %1 WHERE %2 = %3")
                       .arg(QLatin1String(table),
                            QLatin1String(table == std::string("imports") ? "id" : "import_id"))
                       .arg(last)));
    }
    ASSERT_TRUE(ArchiveChain(db).Verify(chain)) << db.Error().toStdString();
    EXPECT_EQ(chain.badImport, last);
    EXPECT_EQ(chain.importWhy, LoadResString(1807));
    EXPECT_EQ(chain.badEvent, 0);
}

TEST_P(ArchiveEngineTest, KeepsNumbersTimesAndTextsAsSent) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"), {Photometer(5)}));
    Add(Dataset(QStringLiteral("Ardel 60 IR"), QStringLiteral("T9"),
                {QStringLiteral("7;02.04.24;13:45:10;Well 17;<0.01;NTU;OK;CQA;01.04.24;12:00:00")}),
        RecordLayout::Of(MeterFamily::Ardel60));
    const QList<ArchivedRecord> records = Query({});
    ASSERT_EQ(records.size(), 2);
    const ArchiveRecord& p = records[0].record;
    EXPECT_EQ(ArchiveIsoTime(p.measuredAt), QStringLiteral("2024-03-05T08:15:00"));
    EXPECT_EQ(ArchiveIsoTime(p.calibratedAt), QStringLiteral("2024-03-01T07:00:00"));
    EXPECT_EQ(p.recordNumber, 5);
    EXPECT_EQ(p.programNumber, 302);
    EXPECT_DOUBLE_EQ(p.value1.value_or(0.0), 5.25);
    EXPECT_FALSE(p.value2);
    EXPECT_EQ(p.value2Text, QStringLiteral("----"));
    EXPECT_EQ(p.citation, QStringLiteral("NO3-N"));
    EXPECT_EQ(p.unit1, QStringLiteral("mg/l"));
    EXPECT_EQ(records[0].user, QStringLiteral("Hélène"));
    EXPECT_EQ(p.rawLine, Photometer(5));
    const ArchiveRecord& t = records[1].record;
    EXPECT_EQ(records[1].model, QStringLiteral("Ardel 60 IR"));
    EXPECT_EQ(t.sampleId, QStringLiteral("Well 17"));
    EXPECT_FALSE(t.value1);
    EXPECT_EQ(t.value1Text, QStringLiteral("<0.01"));
    EXPECT_EQ(t.flags, QStringLiteral("CQA"));
    EXPECT_FALSE(t.programNumber);
}

TEST_P(ArchiveEngineTest, FiltersByPeriodMeterProgramSampleAndUser) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"), Photometers(1, 20)));
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S2"),
                {Photometer(3, QStringLiteral("Pond-A")), Photometer(4, QStringLiteral("pond-b"))},
                QStringLiteral("Marc")));
    ArchiveFilter period;
    period.from = QDate(2024, 3, 5);
    period.to = QDate(2024, 3, 9);
    EXPECT_EQ(Query(period).size(), 5);
    period.program = 301;
    const QList<ArchivedRecord> program = Query(period);
    ASSERT_EQ(program.size(), 1);
    EXPECT_EQ(program[0].record.recordNumber, 7);
    ArchiveFilter serial;
    serial.serial = QStringLiteral("S2");
    EXPECT_EQ(Query(serial).size(), 2);
    ArchiveFilter sample;
    sample.sampleId = QStringLiteral("POND");
    EXPECT_EQ(Query(sample).size(), 2);
    ArchiveFilter user;
    user.user = QStringLiteral("Marc");
    user.to = QDate(2024, 3, 3);
    EXPECT_EQ(Query(user).size(), 1);
    // Letter case is ignored beyond ASCII, alike on both engines.
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S3"),
                {Photometer(1, QStringLiteral("école")), Photometer(2, QStringLiteral("ÉCOLE 2")),
                 Photometer(3, QStringLiteral("Œuvre")), Photometer(4, QStringLiteral("cœur"))}));
    const std::pair<QString, qsizetype> folded[] = {
        {QStringLiteral("École"), 2}, {QStringLiteral("œ"), 2}, {QStringLiteral("ŒUV"), 1}};
    for (const auto& [text, count] : folded) {
        ArchiveFilter f;
        f.sampleId = text;
        EXPECT_EQ(Query(f).size(), count) << text.toStdString();
    }
}

TEST_P(ArchiveEngineTest, OrdersByTheInstantMeasuredAndFiltersByTheMetersOwnDates) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    const auto line = [](const char* date, const char* time, const char* citation) {
        return QStringLiteral("1;%1;%2;A;300;%3;;1:1;1.25;mg/l;OK;----;mg/l;;01.01.24;07:00:00")
            .arg(QLatin1String(date), QLatin1String(time), QLatin1String(citation));
    };
    // A meter in Paris and one in New York: read on their wall clocks, New York's 05:00 comes
    // before Paris's 10:30; measured, it came half an hour after.
    db.SetMeasurementZone(QTimeZone("Europe/Paris"));
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("PAR"),
                {line("10.01.24", "10:30:00", "PO4-P")}));
    db.SetMeasurementZone(QTimeZone("America/New_York"));
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("NYC"),
                {line("10.01.24", "05:00:00", "NO3-N"), line("10.01.24", "23:30:00", "NO3-N")}));
    const QList<ArchivedRecord> all = Query({});
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all[0].serial, QStringLiteral("PAR"));
    EXPECT_EQ(ArchiveIsoTime(all[1].record.measuredAt), QStringLiteral("2024-01-10T05:00:00"));
    // A day is the meter's own: New York's 23:30 is the 10th there, the 11th in UTC.
    ArchiveFilter tenth;
    tenth.from = tenth.to = QDate(2024, 1, 10);
    EXPECT_EQ(Query(tenth).size(), 3);
    ArchiveFilter eleventh;
    eleventh.from = QDate(2024, 1, 11);
    EXPECT_TRUE(Query(eleventh).isEmpty());
    ArchiveFilter citation;
    citation.citation = QStringLiteral("PO4-P");
    EXPECT_EQ(Query(citation).size(), 1);
    // The night Paris sets its clocks forward, 01:30 and 03:30 are one hour apart.
    db.SetMeasurementZone(QTimeZone("Europe/Paris"));
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("DST"),
                {line("31.03.24", "01:30:00", "NO3-N"), line("31.03.24", "03:30:00", "NO3-N"),
                 line("01.04.24", "03:30:00", "NO3-N")}));
    QSqlQuery utc(db.Connection());
    ASSERT_TRUE(utc.exec(QStringLiteral("SELECT %1 FROM records r JOIN meters m ON m.id = "
                                        "r.meter_id WHERE m.serial_number = 'DST' ORDER BY r.id")
                             .arg(db.TimeText(QStringLiteral("r.measured_utc")))));
    QStringList instants;
    while (utc.next()) {
        instants << utc.value(0).toString();
    }
    EXPECT_EQ(instants,
              (QStringList{"2024-03-31 00:30:00", "2024-03-31 01:30:00", "2024-04-01 01:30:00"}));
}

TEST_P(ArchiveEngineTest, ArchivedSinceGivesOnlyWhatEnteredLaterWithStableIds) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"), Photometers(1, 3)));
    // The first import entered the archive a day ago.
    const QDateTime now = QDateTime::currentDateTimeUtc();
    DropAppendOnly();
    QSqlQuery earlier(db.Connection());
    earlier.prepare(QStringLiteral("UPDATE imports SET archived_at = ?"));
    earlier.addBindValue(db.TimeValue(now.addDays(-1)));
    ASSERT_TRUE(earlier.exec());
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S2"), {Photometer(4)}));
    const QList<ArchivedRecord> all = Query({});
    ASSERT_EQ(all.size(), 4);
    EXPECT_EQ(all[0].recordId, 1);
    EXPECT_EQ(all[0].archivedAt->date(), now.date().addDays(-1));
    EXPECT_EQ(all[3].serial, QStringLiteral("S2"));
    EXPECT_EQ(all[3].recordId, 4);
    ArchiveFilter since;
    since.archivedSince = now.addSecs(-3600);
    const QList<ArchivedRecord> later = Query(since);
    ASSERT_EQ(later.size(), 1);
    EXPECT_EQ(later[0].recordId, 4);
}

TEST_P(ArchiveEngineTest, UserTextNeverBecomesSql) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    const QString hostile = QStringLiteral("'; DROP TABLE records; --");
    const QString always = QStringLiteral("' OR '1'='1");
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("x") + always,
                {Photometer(1, always), Photometer(2, QStringLiteral("100%"))}, hostile));
    ArchiveFilter filter;
    filter.user = hostile;
    const QList<ArchivedRecord> found = Query(filter);
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0].user, hostile);
    EXPECT_EQ(found[0].record.sampleId, always);
    EXPECT_EQ(found[0].serial, QStringLiteral("x") + always);
    const std::pair<QString, qsizetype> samples[] = {
        {hostile, 0}, {always, 1}, {QStringLiteral("0%"), 1}};
    for (const auto& [text, count] : samples) {
        ArchiveFilter sample;
        sample.sampleId = text;
        EXPECT_EQ(Query(sample).size(), count) << text.toStdString();
    }
    ArchiveFilter serial;
    serial.serial = always;
    EXPECT_EQ(Query(serial).size(), 0);
    ArchiveTotals totals;
    ASSERT_TRUE(ArchiveQuery(db).Totals(totals));
    EXPECT_EQ(totals.records, 2);
}

TEST_P(ArchiveEngineTest, GivesTheRecordsOfOneModelBackAsADatasetNamingEveryMeter) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"), Photometers(1, 3)));
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S2"), Photometers(4, 5)));
    Add(Dataset(QStringLiteral("Ardel 60 IR"), QStringLiteral("T9"),
                {QStringLiteral("1;02.04.24;13:45:10;A;1.5;NTU;OK;;;")}),
        RecordLayout::Of(MeterFamily::Ardel60));
    ArchiveFilter filter;
    QStringList models;
    ASSERT_TRUE(ArchiveQuery(db).Models(filter, models));
    EXPECT_EQ(models, QStringList({QStringLiteral("Ardel 60 IR"), QStringLiteral("Zentravox")}));
    filter.model = QStringLiteral("Zentravox");
    MValSet set;
    ASSERT_TRUE(ArchiveQuery(db).Dataset(filter, set));
    EXPECT_EQ(set.strMeter, QStringLiteral("Zentravox"));
    // Two meters: both named, never one of them nor a placeholder; dated by the last
    // measurement, not by the day it was read back.
    EXPECT_EQ(set.strSerNo, QStringLiteral("S1, S2"));
    EXPECT_EQ(set.strUser, QStringLiteral("Hélène"));
    EXPECT_EQ(set.curDate, QDateTime(QDate(2024, 3, 5), QTime(8, 15)));
    RecordWalker walker(set.strMVals);
    QStringList lines;
    QStringView line;
    while (walker.NextLine(line)) {
        lines << line.toString();
    }
    EXPECT_EQ(lines, Photometers(1, 5));
}

std::string EngineName(const ::testing::TestParamInfo<Engine>& info) {
    return info.param == Engine::Sqlite ? "Sqlite" : "Postgres";
}

INSTANTIATE_TEST_SUITE_P(Engines, ArchiveEngineTest,
                         ::testing::Values(Engine::Sqlite, Engine::Postgres), EngineName);

} // namespace

TEST_P(ArchiveEngineTest, ControlsAndLimitsAreSharedVersionsAndJudgeTheArchivedRecords) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    // The control "KS-PO4" on program 301 (records i % 3 == 1), in its own letter case.
    QStringList lines;
    for (int i = 1; i <= 12; ++i) {
        lines << Photometer(i, i % 3 == 1 ? QStringLiteral("ks-po4") : QStringLiteral("river"));
    }
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"), lines));
    QcStore store(db, QStringLiteral("Hélène"));
    QcControl control;
    control.name = QStringLiteral("KS-PO4");
    control.program = 301;
    control.matchText = QStringLiteral("KS-PO4 ");
    QcVersion first;
    first.target = 4.25; // records 1, 4, 7, 10: 1.25, 4.25, 7.25, 10.25
    first.sd = 1.0;
    ASSERT_TRUE(store.Define(control, first)) << db.Error().toStdString();
    QcVersion later = first;
    later.validFrom = QDate(2024, 3, 7);
    later.target = 7.25;
    ASSERT_TRUE(store.Define(control, later)) << db.Error().toStdString();
    QcVersion none = first;
    none.sd = 0.0;
    EXPECT_FALSE(store.Define(control, none)); // the database refuses an SD of 0

    QList<QcControl> controls;
    ASSERT_TRUE(store.Controls(controls)) << db.Error().toStdString();
    ASSERT_EQ(controls.size(), 1);
    ASSERT_EQ(controls[0].versions.size(), 2);
    // Without a date, the first version holds from the control's earliest point.
    EXPECT_EQ(controls[0].versions[0].validFrom, QDate(2024, 3, 1));
    EXPECT_EQ(controls[0].versions[0].createdBy, ArchiveIdentity::OfProcess({}).osAccount);
    // Each version added is in the journal with who added it.
    QStringList journal;
    ArchiveTrail(db).Read({}, {}, [&](const AuditEvent& e) {
        journal << e.action + QLatin1Char(' ') + e.who.userName + QLatin1Char(' ') + e.object;
        return true;
    });
    EXPECT_EQ(
        journal.filter(QStringLiteral("qc_version_added")),
        QStringList(2, QStringLiteral("qc_version_added Hélène control %1").arg(control.name)));
    QList<QcRecord> records;
    ASSERT_TRUE(store.Records(controls[0], records)) << db.Error().toStdString();
    ASSERT_EQ(records.size(), 4);
    const QcJudgement judged = QcJudge::Judge(controls[0], records);
    ASSERT_EQ(judged.points.size(), 4);
    QList<double> z;
    for (const QcPoint& p : judged.points) {
        z << p.z;
    }
    EXPECT_EQ(z, (QList<double>{-3.0, 0.0, 0.0, 3.0}));
    EXPECT_EQ(judged.points[0].record.state1, QStringLiteral("OK"));

    LimitValue nitrate;
    nitrate.program = 301;
    nitrate.upper = 50.0;
    nitrate.unit = QStringLiteral("mg/l");
    nitrate.validFrom = QDate(2024, 1, 1);
    ASSERT_TRUE(store.AddLimit(nitrate)) << db.Error().toStdString();
    LimitValue inverted = nitrate;
    inverted.lower = 60.0;
    EXPECT_FALSE(store.AddLimit(inverted));
    QList<LimitValue> limits;
    ASSERT_TRUE(store.Limits(limits));
    ASSERT_EQ(limits.size(), 1);
    const LimitValue* inForce = LimitValue::InForce(limits, 301, QDate(2024, 3, 5));
    ASSERT_NE(inForce, nullptr);
    EXPECT_TRUE(inForce->Beyond(50.5, QString()));
    EXPECT_FALSE(inForce->Beyond(50.0, QString()));
    EXPECT_TRUE(inForce->Beyond(std::nullopt, QStringLiteral("> MR")));
    EXPECT_EQ(LimitValue::InForce(limits, 301, QDate(2023, 12, 31)), nullptr);
}

TEST_P(ArchiveEngineTest, AnImportsControlPointsAreJudgedWithTheirHistoryAtOnce) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    const auto ks = [](int i) { return Photometer(i, QStringLiteral("KS")); };
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"),
                {ks(10), ks(11), Photometer(1)}));
    QcStore store(db);
    const auto define = [&](const char* name, double target) {
        QcControl control;
        control.name = control.matchText = QLatin1String(name);
        QcVersion version;
        version.target = target; // record i holds i.25: z = i − 10 for KS
        version.sd = 1.0;
        version.validFrom = QDate(2024, 1, 1);
        ASSERT_TRUE(store.Define(control, version)) << db.Error().toStdString();
    };
    define("KS", 10.25);
    define("KW", 9.75); // record 12: z = +2.5, a warning
    const auto judge = [&](const QStringList& lines) {
        QcImportCheck check(db);
        EXPECT_TRUE(check.Begin()) << db.Error().toStdString();
        const ArchiveCounts counts =
            Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"), lines));
        QcImportVerdict verdict;
        EXPECT_TRUE(check.Judge(counts.imports, verdict)) << db.Error().toStdString();
        return verdict;
    };

    // z = 3.0 fires no 1-3s; z = 4.0 then fires it and 2-2s with the point before it.
    const QcImportVerdict rejected =
        judge({ks(13), ks(14), Photometer(12, QStringLiteral("kw")), Photometer(2)});
    EXPECT_EQ(rejected.points, 3);
    EXPECT_EQ(rejected.BannerLines(), QStringList{LoadResString(1696).arg(
                                          QStringLiteral("KS"), QStringLiteral("1-3s, 2-2s"),
                                          LoadResString(1697).arg(QStringLiteral("+3s")))});
    ASSERT_EQ(rejected.rejectedRecords.size(), 1);
    EXPECT_EQ(rejected.rejectedLines, QStringList{ks(14)});
    EXPECT_EQ(rejected.warned, QStringList{QStringLiteral("KW")});
    EXPECT_EQ(rejected.Summary(), LoadResString(1768).arg(QStringLiteral("KW")));

    // The point before it, of the import before, completes 2-2s and the run beyond +3s.
    const QcImportVerdict following = judge({ks(15)});
    EXPECT_EQ(following.BannerLines(), QStringList{LoadResString(1696).arg(
                                           QStringLiteral("KS"), QStringLiteral("1-3s, 2-2s"),
                                           LoadResString(1698).arg(2).arg(QStringLiteral("+3s")))});
    // Only the new point counts; the earlier rejections stay with their own imports.
    const QcImportVerdict passed = judge({ks(9)});
    EXPECT_EQ(passed.points, 1);
    EXPECT_TRUE(passed.rejections.isEmpty());
    EXPECT_EQ(passed.Summary(), LoadResString(1732));
    // Nothing new, or no control among it: nothing to say.
    EXPECT_TRUE(judge({ks(9)}).Summary().isEmpty());
    EXPECT_EQ(judge({Photometer(3)}).points, 0);
}

namespace {

ArchiveIdentity Someone(const QString& user, const QString& account) {
    ArchiveIdentity who;
    who.userName = user;
    who.osAccount = account;
    who.hostName = QStringLiteral("poste-3");
    who.programVersion = QStringLiteral("9.9");
    return who;
}

QList<qint64> IdsOf(const QList<ArchivedRecord>& records) {
    QList<qint64> ids;
    for (const ArchivedRecord& r : records) {
        ids << r.recordId;
    }
    return ids;
}

QList<AuditEvent> Trail(ArchiveDatabase& db, const QString& action) {
    QList<AuditEvent> events;
    EXPECT_TRUE(ArchiveTrail(db).Read(std::nullopt, std::nullopt, [&](const AuditEvent& e) {
        if (e.action == action) {
            events << e;
        }
        return true;
    })) << db.Error().toStdString();
    return events;
}

} // namespace

TEST_P(ArchiveEngineTest, InvalidRecordsAreLeftOutUnlessAskedForAndStayInvalidWhenArchivedAgain) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    const MValSet set =
        Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"), Photometers(1, 5));
    Add(set);
    const QList<qint64> ids = IdsOf(Query({}));
    ASSERT_EQ(ids.size(), 5);
    RecordValidity validity(db);
    const ArchiveIdentity anne = Someone(QStringLiteral("Anne"), QStringLiteral("anne"));
    QList<qint64> changed;
    ASSERT_TRUE(validity.Invalidate({ids[3], ids[1], ids[3]}, QStringLiteral(" cuvette rayée "),
                                    anne, changed))
        << db.Error().toStdString();
    EXPECT_EQ(changed, (QList<qint64>{ids[3], ids[1]}));
    // Already invalid: nothing changes, nothing is traced.
    ASSERT_TRUE(validity.Invalidate({ids[1]}, QStringLiteral("encore"), anne, changed));
    EXPECT_TRUE(changed.isEmpty());
    // An empty reason or an id the archive does not hold: refused, and nothing written.
    EXPECT_FALSE(validity.Invalidate({ids[0]}, QStringLiteral("  "), anne, changed));
    EXPECT_EQ(db.Error(), LoadResString(1830));
    EXPECT_FALSE(validity.Invalidate({ids[0], 999999}, QStringLiteral("faux"), anne, changed));
    EXPECT_EQ(db.Error(), LoadResString(1831).arg(target.Display()).arg(999999));

    EXPECT_EQ(IdsOf(Query({})), (QList<qint64>{ids[0], ids[2], ids[4]}));
    qint64 count = 0;
    ASSERT_TRUE(ArchiveQuery(db).Count({}, count));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(Number(QStringLiteral("SELECT COUNT(*) FROM records r WHERE ") +
                     RecordValidity::ValidCondition(QStringLiteral("r"))),
              3);
    ArchiveFilter all;
    all.includeInvalid = true;
    const QList<ArchivedRecord> every = Query(all);
    ASSERT_EQ(every.size(), 5);
    EXPECT_FALSE(every[1].valid);
    EXPECT_EQ(every[1].invalidReason, QStringLiteral("cuvette rayée"));
    EXPECT_TRUE(every[0].valid);
    EXPECT_TRUE(every[0].invalidReason.isEmpty());
    EXPECT_NE(every[0].importId, 0);
    QHash<qint64, RecordState> invalid;
    ASSERT_TRUE(validity.Invalid(ids, invalid)) << db.Error().toStdString();
    EXPECT_EQ(invalid.size(), 2);
    EXPECT_EQ(invalid[ids[3]].who.osAccount, QStringLiteral("anne"));
    EXPECT_EQ(invalid[ids[3]].who.hostName, QStringLiteral("poste-3"));
    EXPECT_LE(qAbs(invalid[ids[3]].at.secsTo(QDateTime::currentDateTimeUtc())), 60);

    // The meter's memory archived again: nothing added, the record still set aside.
    EXPECT_EQ(Add(set).added, 0);
    EXPECT_EQ(Query({}).size(), 3);
    ASSERT_TRUE(validity.Restore({ids[1], ids[0]}, QStringLiteral("recontrôlé"),
                                 Someone(QStringLiteral("Marc"), QStringLiteral("marc")), changed));
    EXPECT_EQ(changed, QList<qint64>{ids[1]});
    EXPECT_EQ(Query({}).size(), 4);

    // One event per change, with who made it (`archive log`'s test reads the rest).
    const QList<AuditEvent> invalidated =
        Trail(db, QLatin1String(ArchiveTrail::kRecordInvalidated));
    ASSERT_EQ(invalidated.size(), 2);
    EXPECT_EQ(invalidated[0].object, QStringLiteral("record %1").arg(ids[3]));
    EXPECT_EQ(invalidated[0].who.hostName, QStringLiteral("poste-3"));
    const QList<AuditEvent> restored = Trail(db, QLatin1String(ArchiveTrail::kRecordRestored));
    ASSERT_EQ(restored.size(), 1);
    EXPECT_EQ(restored[0].who.osAccount, QStringLiteral("marc"));
}

TEST_P(ArchiveEngineTest, AnImportIsReviewedByAnotherAccountOnly) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    const ArchiveCounts counts =
        Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"), Photometers(1, 3)));
    ASSERT_EQ(counts.imports.size(), 1);
    const qint64 import = counts.imports[0];
    ImportReview review(db);
    const ArchiveIdentity importer = db.Identity(QStringLiteral("Hélène"));
    EXPECT_FALSE(review.Review(import, QString(), importer, false));
    EXPECT_TRUE(db.Error().startsWith(LoadResString(1833).arg(import).left(10)))
        << db.Error().toStdString();
    EXPECT_FALSE(review.Review(import + 100, QString(), importer, true));
    EXPECT_EQ(db.Error(), LoadResString(1832).arg(target.Display()).arg(import + 100));
    ArchiveFilter unreviewed;
    unreviewed.unreviewedOnly = true;
    EXPECT_EQ(Query(unreviewed).size(), 3);

    ArchiveIdentity auditor = Someone(QStringLiteral("Claire"), QStringLiteral("claire"));
    ASSERT_TRUE(review.Review(import, QStringLiteral("relu"), auditor, false))
        << db.Error().toStdString();
    // A one-person lab may review its own imports when Settings.ini allows it.
    ASSERT_TRUE(review.Review(import, QStringLiteral("seule"), importer, true))
        << db.Error().toStdString();
    EXPECT_TRUE(Query(unreviewed).isEmpty());
    QList<ImportSummary> imports;
    ASSERT_TRUE(review.Imports({import, import + 100}, imports)) << db.Error().toStdString();
    ASSERT_EQ(imports.size(), 1);
    EXPECT_EQ(imports[0].serial, QStringLiteral("S1"));
    EXPECT_EQ(imports[0].importer.userName, QStringLiteral("Hélène"));
    EXPECT_EQ(imports[0].records, 3);
    ASSERT_TRUE(imports[0].review.has_value());
    EXPECT_EQ(imports[0].review->reason, QStringLiteral("seule"));
    EXPECT_EQ(imports[0].review->who.osAccount, importer.osAccount);
    EXPECT_EQ(Trail(db, QLatin1String(ArchiveTrail::kReviewGiven)).size(), 2);

    // An import archived before accounts were recorded: its login name is compared.
    ASSERT_TRUE(ByHand(QStringLiteral("INSERT INTO imports (meter_id, user_name, imported_at, "
                                      "archived_at, record_count, added_count) SELECT meter_id, "
                                      "'Claire', imported_at, archived_at, 0, 0 FROM imports")));
    const qint64 old = Number(QStringLiteral("SELECT MAX(id) FROM imports"));
    EXPECT_FALSE(review.Review(old, QString(), auditor, false));
    EXPECT_TRUE(review.Review(old, QString(), importer, false)) << db.Error().toStdString();
}

TEST_P(ArchiveEngineTest, AnInvalidControlValueIsNoPointAndSaysWhy) {
    ASSERT_TRUE(Open(db)) << db.Error().toStdString();
    const auto ks = [](int i) { return Photometer(i, QStringLiteral("KS")); };
    Add(Dataset(QStringLiteral("Zentravox"), QStringLiteral("S1"), {ks(1), ks(2), ks(3)}));
    QcControl control;
    control.name = control.matchText = QStringLiteral("KS");
    QcVersion version;
    version.target = 2.25;
    version.sd = 1.0;
    version.validFrom = QDate(2024, 1, 1);
    QcStore store(db);
    ASSERT_TRUE(store.Define(control, version)) << db.Error().toStdString();
    QList<QcControl> controls;
    ASSERT_TRUE(store.Controls(controls));
    control = controls.value(0);
    ASSERT_EQ(control.versions.size(), 1);
    const QList<qint64> ids = IdsOf(Query({}));
    QList<qint64> changed;
    ASSERT_TRUE(RecordValidity(db).Invalidate({ids[0]}, QStringLiteral("pipette"),
                                              Someone(QStringLiteral("A"), QStringLiteral("a")),
                                              changed));
    QList<QcRecord> records;
    ASSERT_TRUE(store.Records(control, records)) << db.Error().toStdString();
    const QcJudgement judged = QcJudge::Judge(control, records);
    EXPECT_EQ(judged.points.size(), 2);
    ASSERT_EQ(judged.skipped.size(), 1);
    EXPECT_EQ(judged.skipped[0].reason, QcSkipped::Reason::Invalid);
    EXPECT_TRUE(QcReport::SkippedLines(judged)[0].endsWith(
        LoadResString(1834).arg(QStringLiteral("pipette"))));
    // Nor is it one of the points before a period that a run looks back on.
    ASSERT_TRUE(
        store.Series(control, QDateTime(QDate(2024, 3, 3), QTime(0, 0), Qt::UTC), 5, records));
    EXPECT_EQ(records.size(), 2);
}
