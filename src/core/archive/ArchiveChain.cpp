#include "archive/ArchiveChain.h"

#include "app/TextTables.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveRecord.h"
#include "archive/ArchiveTrail.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QStringList>
#include <QtEndian>
#include <algorithm>
#include <bit>
#include <memory>
#include <vector>

namespace {

// Before each text field and each record: characters no field holds.
constexpr char kFieldMark = 0x1f;
constexpr char kRecordMark = 0x1e;

// A number as its presence and its 8 bytes, little-endian on any machine: exact, and
// quicker than any text of it.
template <typename T> void AppendNumber(QByteArray& bytes, const std::optional<T>& n) {
    bytes.append(n ? '\1' : '\0');
    if (n) {
        const quint64 value = qToLittleEndian(std::bit_cast<quint64>(*n));
        bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
}

// A wall-clock time as its count of seconds, the same whichever engine stored it.
void AppendTime(QByteArray& bytes, const std::optional<QDateTime>& time) {
    AppendNumber(bytes, time ? std::optional<qint64>(time->date().toJulianDay() * 86400 +
                                                     time->time().msecsSinceStartOfDay() / 1000)
                             : std::nullopt);
}

// `text` encoded straight into `bytes`: an import's records are a hundred thousand texts,
// which a converted copy each would allocate and free again.
void AppendEncoded(QByteArray& bytes, QStringView text, QStringConverter::Encoding encoding) {
    QStringEncoder encoder(encoding, QStringConverter::Flag::Stateless);
    const qsizetype at = bytes.size();
    bytes.resize(at + encoder.requiredSpace(text.size()));
    const char* end = encoder.appendToBuffer(bytes.data() + at, text);
    bytes.truncate(end - bytes.constData());
}

void AppendText(QByteArray& bytes, const QString& text) {
    bytes.append(kFieldMark);
    AppendEncoded(bytes, text, QStringConverter::Utf8);
}

template <typename T> std::optional<T> Optional(const QVariant& value) {
    if (value.isNull()) {
        return std::nullopt;
    }
    return value.value<T>();
}

// One import's running digest.
struct Running {
    QCryptographicHash hash{QCryptographicHash::Sha256};
    qint64 records = 0;
    QString damage;
};

} // namespace

void ArchiveChain::AppendRow(QByteArray& bytes, const QString& key, const ArchiveRecord& r) {
    bytes.append(kRecordMark);
    AppendEncoded(bytes, key, QStringConverter::Latin1);
    AppendNumber(bytes, r.recordNumber);
    AppendTime(bytes, r.measuredAt);
    AppendNumber(bytes, r.programNumber);
    AppendText(bytes, r.sampleId);
    AppendText(bytes, r.citation);
    AppendNumber(bytes, r.value1);
    AppendText(bytes, r.value1Text);
    AppendText(bytes, r.state1);
    AppendNumber(bytes, r.value2);
    AppendTime(bytes, r.calibratedAt);
}

QByteArray ArchiveChain::RowBytes(const QString& key, const ArchiveRecord& r) {
    QByteArray bytes;
    bytes.reserve(256);
    AppendRow(bytes, key, r);
    return bytes;
}

QString ArchiveChain::Digest(const QString& previous, ImportClosing& import) {
    std::sort(import.rows.begin(), import.rows.end(),
              [](const ImportClosing::Row& a, const ImportClosing::Row& b) { return a.id < b.id; });
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(previous.toLatin1());
    const QByteArrayView bytes(import.bytes);
    for (const ImportClosing::Row& row : import.rows) {
        hash.addData(bytes.sliced(row.from, row.size));
    }
    return QString::fromLatin1(hash.result().toHex());
}

QString ArchiveChain::LastDigest() {
    QSqlQuery last =
        m_db.Prepare(QStringLiteral("SELECT digest FROM import_results ORDER BY id DESC LIMIT 1"));
    m_db.Exec(last);
    return last.next() ? last.value(0).toString() : QString();
}

void ArchiveChain::Close(QList<ImportClosing> imports) {
    if (imports.isEmpty()) {
        return;
    }
    m_db.LockChain();
    QString previous = LastDigest();
    QSqlQuery insert = m_db.Prepare(
        QStringLiteral("INSERT INTO import_results (import_id, record_count, added_count, digest) "
                       "VALUES (?, ?, ?, ?)"));
    ArchiveTrail trail(m_db);
    for (ImportClosing& import : imports) {
        previous = Digest(previous, import);
        insert.bindValue(0, import.importId);
        insert.bindValue(1, import.records);
        insert.bindValue(2, import.added);
        insert.bindValue(3, previous);
        m_db.Exec(insert);
        trail.Append(import.who, QLatin1String(ArchiveTrail::kImportArchived),
                     QStringLiteral("import %1").arg(import.importId), QString(),
                     QStringLiteral("%1 records, %2 added, meter %3")
                         .arg(import.records)
                         .arg(import.added)
                         .arg(import.meter));
    }
}

namespace {

// The records as the chain reads them back, with their import's meter.
QString RecordsSql(const ArchiveDatabase& db, const QString& order) {
    return QStringLiteral("SELECT r.id, r.import_id, r.meter_id, i.meter_id, r.record_key, "
                          "r.raw_line, r.record_number, %1, r.program_number, r.sample_id, "
                          "r.citation, r.value1, r.value1_text, r.state1, r.value2, %2 "
                          "FROM records r JOIN imports i ON i.id = r.import_id ORDER BY %3")
        .arg(db.TimeText(QStringLiteral("r.measured_at")),
             db.TimeText(QStringLiteral("r.calibrated_at")), order);
}

// The stored fields of the record in `query`'s current row.
ArchiveRecord StoredRecord(const QSqlQuery& query) {
    ArchiveRecord r;
    r.rawLine = query.value(5).toString();
    r.recordNumber = Optional<qint64>(query.value(6));
    r.measuredAt = ArchiveDatabase::StoredTime(query.value(7).toString());
    r.programNumber = Optional<qint64>(query.value(8));
    r.sampleId = query.value(9).toString();
    r.citation = query.value(10).toString();
    r.value1 = Optional<double>(query.value(11));
    r.value1Text = query.value(12).toString();
    r.state1 = query.value(13).toString();
    r.value2 = Optional<double>(query.value(14));
    r.calibratedAt = ArchiveDatabase::StoredTime(query.value(15).toString());
    return r;
}

} // namespace

void ArchiveChain::ChainStoredImports() {
    struct Stored {
        qint64 id, records, added;
        QString digest;
    };
    QList<Stored> imports;
    QSqlQuery list = m_db.Prepare(
        QStringLiteral("SELECT id, record_count, added_count FROM imports ORDER BY id"));
    m_db.Exec(list);
    while (list.next()) {
        imports.append({list.value(0).toLongLong(),
                        list.value(1).toLongLong(),
                        list.value(2).toLongLong(),
                        {}});
    }
    list.finish();
    // Import by import, in the order they were archived; the rows of the next are read while
    // this one's digest is made, so no import's records are held at once.
    QSqlQuery records = m_db.Prepare(RecordsSql(m_db, QStringLiteral("r.import_id, r.id")));
    m_db.Exec(records);
    bool more = records.next();
    QString previous;
    for (Stored& import : imports) {
        ImportClosing rows;
        while (more && records.value(1).toLongLong() == import.id) {
            const qsizetype from = rows.bytes.size();
            AppendRow(rows.bytes, records.value(4).toString(), StoredRecord(records));
            rows.rows.push_back({records.value(0).toLongLong(), from, rows.bytes.size() - from});
            more = records.next();
        }
        // What the chain covers: the records the import holds now, after an earlier
        // upgrade folded the copies older versions let in.
        import.added = qint64(rows.rows.size());
        previous = import.digest = Digest(previous, rows);
    }
    records.finish();
    QSqlQuery insert = m_db.Prepare(
        QStringLiteral("INSERT INTO import_results (import_id, record_count, added_count, digest) "
                       "VALUES (?, ?, ?, ?)"));
    for (const Stored& import : imports) {
        insert.bindValue(0, import.id);
        insert.bindValue(1, import.records);
        insert.bindValue(2, import.added);
        insert.bindValue(3, import.digest);
        m_db.Exec(insert);
    }
}

bool ArchiveChain::Verify(ChainReport& report) {
    report = ChainReport();
    return m_db.Read([&] { VerifyTrail(report, VerifyRecords(report)); });
}

QSet<qint64> ArchiveChain::VerifyRecords(ChainReport& report) {
    struct Result {
        qint64 importId, added;
        QString digest;
    };
    std::vector<Result> results;
    QHash<qint64, qsizetype> place; // import id -> its place in the chain
    QSqlQuery list = m_db.Prepare(
        QStringLiteral("SELECT import_id, added_count, digest FROM import_results ORDER BY id"));
    m_db.Exec(list);
    while (list.next()) {
        place.insert(list.value(0).toLongLong(), qsizetype(results.size()));
        results.push_back(
            {list.value(0).toLongLong(), list.value(1).toLongLong(), list.value(2).toString()});
    }
    list.finish();
    // Each import's digest made again from the digest stored before it: the first import
    // whose own records or link do not give its stored digest is the damage.
    std::vector<std::unique_ptr<Running>> running;
    for (size_t i = 0; i < results.size(); ++i) {
        running.push_back(std::make_unique<Running>());
        running.back()->hash.addData((i == 0 ? QString() : results[i - 1].digest).toLatin1());
    }
    std::optional<std::pair<qsizetype, QString>> first; // place, why
    qint64 unchained = 0;
    const auto damage = [&first](qsizetype at, const QString& why) {
        if (!first || at < first->first) {
            first = {at, why};
        }
    };
    QSqlQuery records = m_db.Prepare(RecordsSql(m_db, QStringLiteral("r.id")));
    m_db.Exec(records);
    while (records.next()) {
        ++report.records;
        const qint64 id = records.value(0).toLongLong();
        const qint64 importId = records.value(1).toLongLong();
        const auto at = place.constFind(importId);
        if (at == place.constEnd()) {
            if (unchained == 0) {
                unchained = importId;
            }
            continue;
        }
        const ArchiveRecord r = StoredRecord(records);
        const QString key = ArchiveRecord::KeyOf(r.rawLine);
        if (key != records.value(4).toString()) {
            damage(*at, LoadResString(1802).arg(id));
        } else if (records.value(2) != records.value(3)) {
            damage(*at, LoadResString(1803).arg(id));
        }
        Running& run = *running[size_t(*at)];
        run.hash.addData(RowBytes(key, r));
        ++run.records;
    }
    records.finish();
    for (size_t i = 0; i < results.size(); ++i) {
        const Result& result = results[i];
        const Running& run = *running[i];
        if (run.records != result.added) {
            damage(qsizetype(i), LoadResString(1804).arg(run.records).arg(result.added));
        } else if (QString::fromLatin1(run.hash.result().toHex()) != result.digest) {
            damage(qsizetype(i), LoadResString(1801));
        }
    }
    report.imports = qint64(results.size());
    if (first) {
        report.badImport = results[size_t(first->first)].importId;
        report.importWhy = first->second;
    } else if (unchained != 0) {
        report.badImport = unchained;
        report.importWhy = LoadResString(1805);
    }
    const QList<qint64> chained = place.keys();
    return QSet<qint64>(chained.begin(), chained.end());
}

void ArchiveChain::VerifyTrail(ChainReport& report, const QSet<qint64>& chained) {
    QString previous;
    const QString imported = QLatin1String(ArchiveTrail::kImportArchived);
    ArchiveTrail(m_db).Read(std::nullopt, std::nullopt, [&](const AuditEvent& event) {
        ++report.events;
        if (ArchiveTrail::DigestOf(previous, event) != event.digest) {
            report.badEvent = event.id;
            report.eventWhy = LoadResString(1806);
            return false;
        }
        previous = event.digest;
        // The last import and its records removed together leave no broken link behind
        // them; the journal still names it.
        if (event.action == imported && report.badImport == 0) {
            const qint64 id = event.object.section(QLatin1Char(' '), 1).toLongLong();
            if (!chained.contains(id)) {
                report.badImport = id;
                report.importWhy = LoadResString(1807);
            }
        }
        return true;
    });
}
