#include "archive/ArchiveOutput.h"

#include "archive/ArchiveRecord.h"

#include <QBuffer>
#include <QLocale>
#include <array>
#include <cmath>

namespace {

// The columns, in order. New columns are appended, so that readers of the earlier ones need
// no change.
constexpr std::array kNames = {
    "model",    "serial_number", "user",      "record_number", "measured_at", "program",
    "citation", "sample_id",     "reference", "dilution",      "value1",      "value1_text",
    "unit1",    "state1",        "value2",    "value2_text",   "unit2",       "state2",
    "flags",    "calibrated_at", "raw_line",  "record_id",     "archived_at"};

// The buffer is written out once it holds this much.
constexpr qsizetype kFlushBytes = 256 * 1024;

// One value of a column: a text, or a number that may be missing. Copying the text shares
// it.
struct Cell {
    enum Kind { Text, Whole, Real } kind = Text;
    QString text;
    std::optional<double> real;
    std::optional<qint64> whole;
};

Cell TextCell(const QString& text) {
    return Cell{Cell::Text, text, std::nullopt, std::nullopt};
}

Cell WholeCell(std::optional<qint64> n) {
    return Cell{Cell::Whole, QString(), std::nullopt, n};
}

Cell RealCell(std::optional<double> n) {
    return Cell{Cell::Real, QString(), n, std::nullopt};
}

// archived_at is the PC's clock in UTC: a pull "archived since" sees no hour twice.
std::array<Cell, kNames.size()> Cells(const ArchivedRecord& a) {
    const ArchiveRecord& r = a.record;
    return {TextCell(a.model),
            TextCell(a.serial),
            TextCell(a.user),
            WholeCell(r.recordNumber),
            TextCell(ArchiveIsoTime(r.measuredAt)),
            WholeCell(r.programNumber),
            TextCell(r.citation),
            TextCell(r.sampleId),
            TextCell(r.referenceMark),
            TextCell(r.dilution),
            RealCell(r.value1),
            TextCell(r.value1Text),
            TextCell(r.unit1),
            TextCell(r.state1),
            RealCell(r.value2),
            TextCell(r.value2Text),
            TextCell(r.unit2),
            TextCell(r.state2),
            TextCell(r.flags),
            TextCell(ArchiveIsoTime(r.calibratedAt)),
            TextCell(r.rawLine),
            WholeCell(a.recordId),
            TextCell(ArchiveIsoTime(a.archivedAt) + QLatin1String(a.archivedAt ? "Z" : ""))};
}

// A number as text: "." decimals and the shortest exact form, whatever the locale; empty for
// none.
QString NumberText(const Cell& cell) {
    if (cell.kind == Cell::Whole) {
        return cell.whole ? QString::number(*cell.whole) : QString();
    }
    return cell.real ? QString::number(*cell.real, 'g', QLocale::FloatingPointShortest) : QString();
}

void AppendCsv(QString& out, const QString& text) {
    const bool quoted = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    if (!quoted) {
        out += text;
        return;
    }
    out += QLatin1Char('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('"')) {
            out += QLatin1Char('"');
        }
        out += c;
    }
    out += QLatin1Char('"');
}

void AppendTsv(QString& out, const QString& text) {
    for (const QChar c : text) {
        const bool breaks =
            c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
        out += breaks ? QLatin1Char(' ') : c;
    }
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

// A JSON string: quotes, backslashes and control characters escaped, the rest as it is.
void AppendJsonString(QString& out, const QString& text) {
    static const char kHex[] = "0123456789abcdef";
    out += QLatin1Char('"');
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        switch (u) {
        case u'"':
            out += QLatin1String("\\\"");
            break;
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'\b':
            out += QLatin1String("\\b");
            break;
        case u'\f':
            out += QLatin1String("\\f");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u'\t':
            out += QLatin1String("\\t");
            break;
        default:
            if (u < 0x20) {
                out += QLatin1String("\\u00");
                out += QLatin1Char(kHex[u >> 4]);
                out += QLatin1Char(kHex[u & 0xf]);
            } else {
                out += c;
            }
        }
    }
    out += QLatin1Char('"');
}

// A JSON number: a whole value without decimals (a record id stays 1000000, not 1e+06),
// else the shortest exact form; null for none.
void AppendJsonNumber(QString& out, const Cell& cell) {
    const std::optional<double> real = cell.kind == Cell::Real ? cell.real : std::nullopt;
    constexpr double kWholeLimit = 9007199254740992.0; // 2^53: every whole double below is exact
    if (cell.kind == Cell::Whole && cell.whole) {
        out += QString::number(*cell.whole);
    } else if (real && std::isfinite(*real) && std::trunc(*real) == *real &&
               std::abs(*real) < kWholeLimit) {
        out += QString::number(qint64(*real));
    } else if (real && std::isfinite(*real)) {
        out += QString::number(*real, 'g', QLocale::FloatingPointShortest);
    } else {
        out += QLatin1String("null");
    }
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

ArchiveOutput::ArchiveOutput(QIODevice& device, ArchiveFormat format)
    : m_device(device), m_format(format) {
    if (format == ArchiveFormat::Json) {
        m_text += QLatin1Char('[');
        return;
    }
    const QLatin1Char separator(format == ArchiveFormat::Csv ? ',' : '\t');
    for (const char* name : kNames) {
        if (name != kNames.front()) {
            m_text += separator;
        }
        m_text += QLatin1String(name);
    }
    m_text += QLatin1Char('\n');
}

bool ArchiveOutput::Write(const ArchivedRecord& record) {
    if (m_format == ArchiveFormat::Json) {
        WriteJson(record);
    } else {
        WriteDelimited(record);
    }
    ++m_rows;
    if (m_text.size() >= kFlushBytes / 2) {
        Flush();
    }
    return m_ok;
}

void ArchiveOutput::WriteDelimited(const ArchivedRecord& record) {
    const bool csv = m_format == ArchiveFormat::Csv;
    bool first = true;
    for (const Cell& cell : Cells(record)) {
        if (!first) {
            m_text += QLatin1Char(csv ? ',' : '\t');
        }
        first = false;
        const QString text = cell.kind == Cell::Text ? Inert(cell.text) : NumberText(cell);
        if (csv) {
            AppendCsv(m_text, text);
        } else {
            AppendTsv(m_text, text);
        }
    }
    m_text += QLatin1Char('\n');
}

// Laid out as Qt's indented JSON: four spaces a level, one key a line.
void ArchiveOutput::WriteJson(const ArchivedRecord& record) {
    m_text += m_rows > 0 ? QLatin1String(",\n    {\n") : QLatin1String("\n    {\n");
    const std::array<Cell, kNames.size()> cells = Cells(record);
    for (size_t i = 0; i < cells.size(); ++i) {
        m_text += QLatin1String("        \"");
        m_text += QLatin1String(kNames[i]);
        m_text += QLatin1String("\": ");
        if (cells[i].kind == Cell::Text) {
            AppendJsonString(m_text, cells[i].text);
        } else {
            AppendJsonNumber(m_text, cells[i]);
        }
        m_text += i + 1 < cells.size() ? QLatin1String(",\n") : QLatin1String("\n    }");
    }
}

void ArchiveOutput::Flush() {
    if (m_ok) {
        const QByteArray bytes = m_text.toUtf8();
        m_ok = m_device.write(bytes) == bytes.size();
    }
    m_text.resize(0); // keeps its room for the next rows
}

bool ArchiveOutput::Finish() {
    if (m_format == ArchiveFormat::Json) {
        m_text += QLatin1String("\n]\n");
    }
    Flush();
    return m_ok;
}

QByteArray ArchiveOutput::Of(const QList<ArchivedRecord>& records, ArchiveFormat format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ArchiveOutput output(buffer, format);
    for (const ArchivedRecord& record : records) {
        output.Write(record);
    }
    output.Finish();
    buffer.close();
    return bytes;
}
