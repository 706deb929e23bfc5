#include "archive/ArchiveWriter.h"

#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveRecord.h"
#include "data/ExportSheet.h"
#include "data/MValSet.h"
#include "data/RecordWalker.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QSqlQuery>
#include <QVariant>
#include <QtEndian>

namespace {

// A short, stable digest of a record line: the index finds the few lines that share it,
// and the lines themselves are compared. Stable across program versions, unlike qHash.
qint32 LineHash(const QString& line) {
    const QByteArray digest =
        QCryptographicHash::hash(line.toUtf8(), QCryptographicHash::Md5);
    return qFromBigEndian<qint32>(digest.constData());
}

QVariant Text(const QString& text) {
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

template <typename T> QVariant Optional(const std::optional<T>& value) {
    return value ? QVariant::fromValue(*value) : QVariant(QMetaType::fromType<T>());
}

QVariant Time(const std::optional<QDateTime>& time) {
    return time ? QVariant(ArchiveTimeText(*time)) : QVariant(QMetaType::fromType<QString>());
}

} // namespace

qint64 ArchiveWriter::MeterId(const QString& model, const QString& serial) {
    QSqlQuery insert = m_db.Prepare(QStringLiteral(
        "INSERT INTO meters (model, serial_number) VALUES (?, ?) ON CONFLICT DO NOTHING"));
    insert.addBindValue(model);
    insert.addBindValue(serial);
    m_db.Exec(insert);
    QSqlQuery select =
        m_db.Prepare(QStringLiteral("SELECT id FROM meters WHERE model = ? AND serial_number = ?"));
    select.addBindValue(model);
    select.addBindValue(serial);
    m_db.Exec(select);
    select.next();
    return select.value(0).toLongLong();
}

bool ArchiveWriter::Add(Services& services, const MValSet& set, const QString& sourceFile,
                        ArchiveCounts& counts) {
    const ExportLayout layout = ExportLayoutFor(services, set.strMeter);
    return Add(set, layout.kinds.mid(0, layout.count), sourceFile, counts);
}

bool ArchiveWriter::Add(const MValSet& set, const QList<int>& kinds, const QString& sourceFile,
                        ArchiveCounts& counts) {
    counts = ArchiveCounts();
    return m_db.Write([&] {
        counts = ArchiveCounts();
        const qint64 meterId = MeterId(set.strMeter, set.strSerNo);
        // Writers of one meter queue for each other, so that both never find a record
        // missing and add it twice; different meters never share a record.
        m_db.Lock(meterId);
        QSqlQuery import = m_db.Prepare(QStringLiteral(
            "INSERT INTO imports (meter_id, user_name, imported_at, source_file, archived_at, "
            "record_count, added_count) VALUES (?, ?, ?, ?, ?, 0, 0) RETURNING id"));
        import.addBindValue(meterId);
        import.addBindValue(set.strUser);
        import.addBindValue(ArchiveTimeText(set.curDate));
        import.addBindValue(Text(sourceFile));
        import.addBindValue(ArchiveTimeText(QDateTime::currentDateTime()));
        m_db.Exec(import);
        import.next();
        const qint64 importId = import.value(0).toLongLong();

        QSqlQuery existing = m_db.Prepare(
            QStringLiteral("SELECT raw_line FROM records WHERE meter_id = ? AND line_hash = ?"));
        QSqlQuery insert = m_db.Prepare(QStringLiteral(
            "INSERT INTO records (import_id, meter_id, line_hash, record_number, measured_at, "
            "program_number, citation, sample_id, reference_mark, dilution, value1, value1_text, "
            "unit1, state1, value2, value2_text, unit2, state2, flags, calibrated_at, raw_line) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        RecordWalker walker(set.strMVals);
        QStringView line;
        while (walker.NextLine(line)) {
            ++counts.records;
            const ArchiveRecord r = ArchiveRecord::FromLine(line, kinds);
            const qint32 hash = LineHash(r.rawLine);
            existing.bindValue(0, meterId);
            existing.bindValue(1, hash);
            m_db.Exec(existing);
            bool present = false;
            while (!present && existing.next()) {
                present = existing.value(0).toString() == r.rawLine;
            }
            existing.finish();
            if (present) {
                continue;
            }
            const QVariantList values = {
                importId,       meterId,        hash,         Optional(r.recordNumber),
                Time(r.measuredAt), Optional(r.programNumber), Text(r.citation),
                Text(r.sampleId), Text(r.referenceMark), Text(r.dilution), Optional(r.value1),
                Text(r.value1 ? QString() : r.value1Text), Text(r.unit1),  Text(r.state1),
                Optional(r.value2), Text(r.value2 ? QString() : r.value2Text), Text(r.unit2),
                Text(r.state2), Text(r.flags),  Time(r.calibratedAt), r.rawLine};
            for (int i = 0; i < values.size(); ++i) {
                insert.bindValue(i, values[i]);
            }
            m_db.Exec(insert);
            ++counts.added;
        }
        QSqlQuery update = m_db.Prepare(
            QStringLiteral("UPDATE imports SET record_count = ?, added_count = ? WHERE id = ?"));
        update.addBindValue(counts.records);
        update.addBindValue(counts.added);
        update.addBindValue(importId);
        m_db.Exec(update);
    });
}
