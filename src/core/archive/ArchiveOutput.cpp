#include "archive/ArchiveOutput.h"

#include "archive/ArchiveQuery.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QStringList>

namespace {

// The columns, in order; the numbers are those whose value may be a JSON number. New columns
// are appended, so that readers of the earlier ones need no change.
const char* const kNames[] = {
    "model",    "serial_number", "user",      "record_number", "measured_at", "program",
    "citation", "sample_id",     "reference", "dilution",      "value1",      "value1_text",
    "unit1",    "state1",        "value2",    "value2_text",   "unit2",       "state2",
    "flags",    "calibrated_at", "raw_line",  "record_id",     "archived_at"};

// A number, or an invalid value where the meter sent none.
template <typename T> QVariant Number(const std::optional<T>& n) {
    return n ? QVariant::fromValue(*n) : QVariant();
}

// archived_at is the PC's clock in UTC: a pull "archived since" sees no hour twice.
QVariantList Values(const ArchivedRecord& a) {
    const ArchiveRecord& r = a.record;
    return {a.model,
            a.serial,
            a.user,
            Number(r.recordNumber),
            ArchiveIsoTime(r.measuredAt),
            Number(r.programNumber),
            r.citation,
            r.sampleId,
            r.referenceMark,
            r.dilution,
            Number(r.value1),
            r.value1Text,
            r.unit1,
            r.state1,
            Number(r.value2),
            r.value2Text,
            r.unit2,
            r.state2,
            r.flags,
            ArchiveIsoTime(r.calibratedAt),
            r.rawLine,
            QVariant::fromValue(a.recordId),
            ArchiveIsoTime(a.archivedAt) + QLatin1String(a.archivedAt ? "Z" : "")};
}

bool IsText(const QVariant& value) {
    return value.typeId() == QMetaType::QString;
}

QString CsvField(const QString& text) {
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r'))) {
        return text;
    }
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString TsvField(const QString& text) {
    QString plain = text;
    for (const QChar c : {QLatin1Char('\t'), QLatin1Char('\n'), QLatin1Char('\r')}) {
        plain.replace(c, QLatin1Char(' '));
    }
    return plain;
}

// A text a spreadsheet would run as a formula when it opens the file (a sample ID typed as
// "=HYPERLINK(…)" or "@SUM(…)") gets a leading apostrophe, which spreadsheets take as "this is
// text". A minus sign starts a formula only before something that is not a number, so
// "-0.5" as the meter sent it stays as it is.
QString Inert(const QString& text) {
    if (text.isEmpty()) {
        return text;
    }
    const QChar first = text.front();
    bool number = false;
    if (first == QLatin1Char('-')) {
        QLocale::c().toDouble(text, &number);
    }
    const bool formula = first == QLatin1Char('=') || first == QLatin1Char('+') ||
                         first == QLatin1Char('@') || (first == QLatin1Char('-') && !number);
    return formula ? QLatin1Char('\'') + text : text;
}

// A number as text: "." decimals and the shortest exact form, whatever the locale.
QString FieldText(const QVariant& value) {
    return IsText(value) || value.isValid() ? value.toString() : QString();
}

QByteArray Delimited(const QList<ArchivedRecord>& records, QChar separator,
                     QString (*field)(const QString&)) {
    QStringList lines;
    QStringList cells;
    for (const char* name : kNames) {
        cells << QLatin1String(name);
    }
    lines << cells.join(separator);
    for (const ArchivedRecord& r : records) {
        cells.clear();
        for (const QVariant& value : Values(r)) {
            cells << field(IsText(value) ? Inert(FieldText(value)) : FieldText(value));
        }
        lines << cells.join(separator);
    }
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

QByteArray Json(const QList<ArchivedRecord>& records) {
    QJsonArray array;
    for (const ArchivedRecord& r : records) {
        QJsonObject object;
        const QVariantList values = Values(r);
        for (qsizetype i = 0; i < values.size(); ++i) {
            const QVariant& v = values[i];
            object.insert(QLatin1String(kNames[i]),
                          IsText(v) ? QJsonValue(v.toString())
                                    : (v.isNull() ? QJsonValue() : QJsonValue(v.toDouble())));
        }
        array.append(object);
    }
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

} // namespace

std::optional<ArchiveFormat> ArchiveFormatNamed(const QString& name) {
    if (name == QLatin1String("csv")) {
        return ArchiveFormat::Csv;
    }
    if (name == QLatin1String("tsv")) {
        return ArchiveFormat::Tsv;
    }
    if (name == QLatin1String("json")) {
        return ArchiveFormat::Json;
    }
    return std::nullopt;
}

QByteArray ArchiveOutput(const QList<ArchivedRecord>& records, ArchiveFormat format) {
    switch (format) {
    case ArchiveFormat::Csv:
        return Delimited(records, QLatin1Char(','), &CsvField);
    case ArchiveFormat::Tsv:
        return Delimited(records, QLatin1Char('\t'), &TsvField);
    case ArchiveFormat::Json:
        break;
    }
    return Json(records);
}
