#include "ui/data/TableClipboard.h"

#include "ui/data/MValTableProxy.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QLocale>
#include <QMimeData>
#include <vector>

void PutOnClipboard(const TableCopyText& copy) {
    auto* data = new QMimeData;
    data->setText(copy.tsv);
    data->setHtml(copy.html);
    QGuiApplication::clipboard()->setMimeData(data);
}

QChar DesktopDecimalPoint(bool raw) {
    const QString point = QLocale().decimalPoint();
    return raw || point.size() != 1 ? QLatin1Char('.') : point.front();
}

TableCopyText CopySelection(const MValTableProxy& proxy, const QItemSelectionModel& selection,
                            const QStringList& titles, bool raw) {
    // One bit per column and row from the selection's ranges: a select-all of a million
    // rows is one range, never a million indexes.
    std::vector<quint32> selected(size_t(proxy.rowCount()), 0);
    for (const QItemSelectionRange& range : selection.selection()) {
        quint32 bits = 0;
        for (int c = range.left(); c <= range.right() && c < 32; ++c) {
            bits |= 1u << c;
        }
        for (int r = range.top(); r <= range.bottom(); ++r) {
            selected[size_t(r)] |= bits;
        }
    }
    QList<CopyColumn> columns;
    for (int c = 0; c < titles.size(); ++c) {
        columns.append({titles[c], proxy.Columns().IsNumeric(c)});
    }
    return CopyRecordCells(proxy.ShownLines(), selected, columns, DesktopDecimalPoint(raw));
}
