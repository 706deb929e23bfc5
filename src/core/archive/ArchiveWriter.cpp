#include "archive/ArchiveWriter.h"

#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveRecord.h"
#include "data/ExportSheet.h"
#include "data/MValSet.h"
#include "data/RecordWalker.h"
#include "meter/RecordLayout.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

QVariant Text(const QString& text) {
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

// A text the archive needs (model, serial number, user): a null string would be bound as SQL
// NULL, and a meter that sends no serial number would make every import fail.
QString Given(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

template <typename T> QVariant Optional(const std::optional<T>& value) {
    return value ? QVariant::fromValue(*value) : QVariant(QMetaType::fromType<T>());
}

QString KindsText(const QList<int>& kinds) {
    QStringList texts;
    for (const int kind : kinds) {
        texts << QString::number(kind);
    }
    return texts.join(QLatin1Char(','));
}

} // namespace

qint64 ArchiveWriter::MeterId(const QString& model, const QString& serial,
                              const QList<int>& kinds) {
    QSqlQuery insert = m_db.Prepare(
        QStringLiteral("INSERT INTO meters (model, serial_number, column_kinds) VALUES (?, ?, ?) "
                       "ON CONFLICT DO NOTHING"));
    insert.addBindValue(Given(model));
    insert.addBindValue(Given(serial));
    insert.addBindValue(Given(KindsText(kinds)));
    m_db.Exec(insert);
    QSqlQuery select =
        m_db.Prepare(QStringLiteral("SELECT id FROM meters WHERE model = ? AND serial_number = ?"));
    select.addBindValue(Given(model));
    select.addBindValue(Given(serial));
    m_db.Exec(select);
    select.next();
    return select.value(0).toLongLong();
}

bool ArchiveWriter::Add(const CDevice& device, const MValSet& set, const QString& sourceFile,
                        ArchiveCounts& counts) {
    return Add(set, ExportLayoutFor(device, set.strMeter).record, sourceFile, counts);
}

bool ArchiveWriter::Add(const MValSet& set, const RecordLayout& layout, const QString& sourceFile,
                        ArchiveCounts& counts) {
    counts = ArchiveCounts();
    return m_db.Write([&] {
        counts = ArchiveCounts();
        const qint64 meterId = MeterId(set.strMeter, set.strSerNo, layout.Kinds());
        // Writers of one meter queue for each other: two that insert the same records in
        // different orders would otherwise wait on each other's rows until one is aborted.
        // Different meters never share a record.
        m_db.Lock(meterId);
        QSqlQuery import = m_db.Prepare(QStringLiteral(
            "INSERT INTO imports (meter_id, user_name, imported_at, source_file, archived_at, "
            "record_count, added_count) VALUES (?, ?, ?, ?, ?, 0, 0) RETURNING id"));
        import.addBindValue(meterId);
        import.addBindValue(Given(set.strUser));
        import.addBindValue(m_db.TimeValue(set.curDate));
        import.addBindValue(Text(sourceFile));
        import.addBindValue(m_db.TimeValue(QDateTime::currentDateTime()));
        m_db.Exec(import);
        import.next();
        const qint64 importId = import.value(0).toLongLong();

        // The database keeps each record once per meter: a record it holds already is
        // simply not inserted, whatever its time (or none).
        QSqlQuery insert = m_db.Prepare(QStringLiteral(
            "INSERT INTO records (import_id, meter_id, record_key, record_number, measured_at, "
            "program_number, sample_id, value1, value2, calibrated_at, raw_line) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
            "ON CONFLICT (meter_id, record_key) DO NOTHING"));
        RecordWalker walker(set.strMVals);
        QStringView line;
        while (walker.NextLine(line)) {
            ++counts.records;
            const ArchiveRecord r = ArchiveRecord::FromLine(line, layout);
            const QVariantList values = {importId,
                                         meterId,
                                         ArchiveRecord::KeyOf(line),
                                         Optional(r.recordNumber),
                                         m_db.TimeValue(r.measuredAt),
                                         Optional(r.programNumber),
                                         Text(r.sampleId),
                                         Optional(r.value1),
                                         Optional(r.value2),
                                         m_db.TimeValue(r.calibratedAt),
                                         r.rawLine};
            for (int i = 0; i < values.size(); ++i) {
                insert.bindValue(i, values[i]);
            }
            m_db.Exec(insert);
            counts.added += insert.numRowsAffected();
        }
        QSqlQuery update = m_db.Prepare(
            QStringLiteral("UPDATE imports SET record_count = ?, added_count = ? WHERE id = ?"));
        update.addBindValue(counts.records);
        update.addBindValue(counts.added);
        update.addBindValue(importId);
        m_db.Exec(update);
    });
}
