#include "archive/TableOutput.h"

#include <QIODevice>
#include <QLocale>
#include <cmath>

namespace {

// The buffer is written out once it holds this much.
constexpr qsizetype kFlushBytes = 256 * 1024;

// A number as text: "." decimals and the shortest exact form, whatever the locale; empty for
// none.
QString NumberText(const TableCell& cell) {
    if (cell.kind == TableCell::Whole || cell.kind == TableCell::Flag) {
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
void AppendJsonNumber(QString& out, const TableCell& cell) {
    const std::optional<double> real = cell.kind == TableCell::Real ? cell.real : std::nullopt;
    constexpr double kWholeLimit = 9007199254740992.0; // 2^53: every whole double below is exact
    if (cell.kind == TableCell::Whole && cell.whole) {
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

void AppendJsonList(QString& out, const QStringList& codes) {
    out += QLatin1Char('[');
    for (qsizetype i = 0; i < codes.size(); ++i) {
        if (i > 0) {
            out += QLatin1String(", ");
        }
        AppendJsonString(out, codes[i]);
    }
    out += QLatin1Char(']');
}

} // namespace

TableOutput::TableOutput(QIODevice& device, ArchiveFormat format,
                         std::span<const char* const> names)
    : m_device(device), m_format(format), m_names(names) {
    if (format == ArchiveFormat::Json) {
        m_text += QLatin1Char('[');
        return;
    }
    const QLatin1Char separator(format == ArchiveFormat::Csv ? ',' : '\t');
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            m_text += separator;
        }
        m_text += QLatin1String(names[i]);
    }
    m_text += QLatin1Char('\n');
}

bool TableOutput::Write(std::span<const TableCell> cells) {
    if (m_format == ArchiveFormat::Json) {
        WriteJson(cells);
    } else {
        WriteDelimited(cells);
    }
    ++m_rows;
    if (m_text.size() >= kFlushBytes / 2) {
        Flush();
    }
    return m_ok;
}

void TableOutput::WriteDelimited(std::span<const TableCell> cells) {
    const bool csv = m_format == ArchiveFormat::Csv;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            m_text += QLatin1Char(csv ? ',' : '\t');
        }
        const TableCell& cell = cells[i];
        const QString text = cell.kind == TableCell::Text   ? Inert(cell.text)
                             : cell.kind == TableCell::List ? cell.list.join(QLatin1Char('+'))
                                                            : NumberText(cell);
        if (csv) {
            AppendCsv(m_text, text);
        } else {
            AppendTsv(m_text, text);
        }
    }
    m_text += QLatin1Char('\n');
}

// Laid out as Qt's indented JSON: four spaces a level, one key a line.
void TableOutput::WriteJson(std::span<const TableCell> cells) {
    m_text += m_rows > 0 ? QLatin1String(",\n    {\n") : QLatin1String("\n    {\n");
    for (size_t i = 0; i < cells.size(); ++i) {
        m_text += QLatin1String("        \"");
        m_text += QLatin1String(m_names[i]);
        m_text += QLatin1String("\": ");
        if (cells[i].kind == TableCell::Text) {
            AppendJsonString(m_text, cells[i].text);
        } else if (cells[i].kind == TableCell::List) {
            AppendJsonList(m_text, cells[i].list);
        } else if (cells[i].kind == TableCell::Flag) {
            const std::optional<qint64>& flag = cells[i].whole;
            m_text += !flag ? QLatin1String("null") : QLatin1String(*flag ? "true" : "false");
        } else {
            AppendJsonNumber(m_text, cells[i]);
        }
        m_text += i + 1 < cells.size() ? QLatin1String(",\n") : QLatin1String("\n    }");
    }
}

void TableOutput::Flush() {
    if (m_ok) {
        const QByteArray bytes = m_text.toUtf8();
        m_ok = m_device.write(bytes) == bytes.size();
    }
    m_text.resize(0); // keeps its room for the next rows
}

bool TableOutput::Finish() {
    if (m_format == ArchiveFormat::Json) {
        m_text += QLatin1String("\n]\n");
    }
    Flush();
    return m_ok;
}
