#include "data/RecordSelection.h"

#include "app/TextTables.h"
#include "data/RecordFilter.h"
#include "data/RecordWalker.h"

#include <QList>
#include <QStringView>
#include <algorithm>
#include <numeric>

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
// What ends every dataset in raw answer form after its last record.
const QString kEndMarker = QStringLiteral("\r\n!\r\n>");

QList<QStringView> RecordLines(const QString& strMVals) {
    QList<QStringView> lines;
    RecordWalker walker(strMVals);
    QStringView line;
    while (walker.NextLine(line)) {
        lines.append(line);
    }
    return lines;
}

} // namespace

RecordSelection::RecordSelection(std::vector<int> rows, int total)
    : m_rows(std::move(rows)), m_total(total) {}

QString RecordSelection::Records(const QString& strMVals) const {
    if (!m_rows) {
        return strMVals;
    }
    const QList<QStringView> lines = RecordLines(strMVals);
    QString text;
    for (const int row : *m_rows) {
        if (row >= 0 && row < lines.size()) {
            text += kLineEnd;
            text += lines[row];
        }
    }
    return text + kEndMarker;
}

std::vector<int> RecordSelection::Rows(int records) const {
    if (m_rows) {
        return *m_rows;
    }
    std::vector<int> all(size_t(std::max(records, 0)));
    std::iota(all.begin(), all.end(), 0);
    return all;
}

QString RecordSelection::Note() const {
    return m_rows ? LoadResString(1645).arg(Count()).arg(m_total) : QString();
}

RecordSelection FilteredSelection(const QString& strMVals, const RecordFilter& filter,
                                  const RecordLayout& columns) {
    if (filter.IsEmpty()) {
        return {};
    }
    const QList<QStringView> lines = RecordLines(strMVals);
    return {FilteredRows(lines, filter, columns), int(lines.size())};
}
