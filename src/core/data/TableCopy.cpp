#include "data/TableCopy.h"

#include "data/FieldNumber.h"
#include "data/RecordWalker.h"

#include <array>
#include <vector>

namespace {

// Estimated characters per cell, to grow the texts once for a large copy.
constexpr qsizetype kCellGuess = 8;
constexpr int kMaxColumns = 32;

void AppendHtml(QString& html, QStringView text) {
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case u'<':
            html += QLatin1String("&lt;");
            break;
        case u'>':
            html += QLatin1String("&gt;");
            break;
        case u'&':
            html += QLatin1String("&amp;");
            break;
        case u'"':
            html += QLatin1String("&quot;");
            break;
        default:
            html += ch;
        }
    }
}

// A tab or line break inside a field would shift the pasted cells.
void AppendTsv(QString& tsv, QStringView text) {
    for (const QChar ch : text) {
        tsv += ch == u'\t' || ch == u'\n' || ch == u'\r' ? QChar(u' ') : ch;
    }
}

class CopyWriter {
public:
    CopyWriter(qsizetype cells) {
        m_text.tsv.reserve(cells * kCellGuess);
        m_text.html.reserve(cells * kCellGuess * 2);
        m_text.html += QLatin1String("<table>");
    }

    void Row(qsizetype columns, const std::function<QStringView(qsizetype)>& field, bool titles) {
        m_text.html += QLatin1String("<tr>");
        for (qsizetype c = 0; c < columns; ++c) {
            if (c > 0) {
                m_text.tsv += QLatin1Char('\t');
            }
            const QStringView text = field(c);
            AppendTsv(m_text.tsv, text);
            m_text.html += titles ? QLatin1String("<th>") : QLatin1String("<td>");
            AppendHtml(m_text.html, text);
            m_text.html += titles ? QLatin1String("</th>") : QLatin1String("</td>");
        }
        m_text.tsv += QLatin1Char('\n');
        m_text.html += QLatin1String("</tr>");
    }

    TableCopyText Finish() {
        m_text.html += QLatin1String("</table>");
        return std::move(m_text);
    }

private:
    TableCopyText m_text;
};

} // namespace

TableCopyText MakeTableCopy(const QList<CopyColumn>& columns, qsizetype rows, const CopyCell& cell,
                            QChar decimalPoint) {
    CopyWriter writer((rows + 1) * columns.size());
    writer.Row(
        columns.size(), [&](qsizetype c) { return QStringView(columns[c].title); }, true);
    const bool convert = decimalPoint != QLatin1Char('.');
    QString converted;
    for (qsizetype r = 0; r < rows; ++r) {
        writer.Row(
            columns.size(),
            [&](qsizetype c) {
                const QStringView text = cell(r, c);
                if (!convert || !columns[c].number || !text.contains(QLatin1Char('.')) ||
                    !FieldNumber(text, false)) {
                    return text;
                }
                converted = text.toString();
                converted.replace(QLatin1Char('.'), decimalPoint);
                return QStringView(converted);
            },
            false);
    }
    return writer.Finish();
}

TableCopyText CopyRecordCells(std::span<const QStringView> lines,
                              std::span<const quint32> selectedColumns,
                              const QList<CopyColumn>& columns, QChar decimalPoint) {
    const int count = int(std::min<qsizetype>(columns.size(), kMaxColumns));
    quint32 used = 0;
    std::vector<qsizetype> rows;
    for (size_t i = 0; i < lines.size() && i < selectedColumns.size(); ++i) {
        if (selectedColumns[i] != 0) {
            used |= selectedColumns[i];
            rows.push_back(qsizetype(i));
        }
    }
    QList<CopyColumn> copied;
    QList<int> sourceColumn;
    for (int c = 0; c < count; ++c) {
        if (used & (1u << c)) {
            copied.append(columns[c]);
            sourceColumn.append(c);
        }
    }
    std::array<QStringView, kMaxColumns> fields;
    qsizetype splitRow = -1;
    const CopyCell cell = [&](qsizetype r, qsizetype c) {
        const size_t line = size_t(rows[size_t(r)]);
        if (splitRow != r) {
            SplitRecordLine(lines[line], std::span<QStringView>(fields.data(), size_t(count)));
            splitRow = r;
        }
        const int column = sourceColumn[c];
        return selectedColumns[line] & (1u << column) ? fields[size_t(column)] : QStringView();
    };
    return MakeTableCopy(copied, qsizetype(rows.size()), cell, decimalPoint);
}
