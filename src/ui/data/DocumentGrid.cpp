#include "ui/data/DocumentGrid.h"

#include "app/TextTables.h"
#include "data/MValSet.h"
#include "data/RecordWalker.h"
#include "meter/CDevice.h"
#include "meter/RecordLayout.h"
#include "ui/data/ColumnWidths.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/DocumentLimits.h"
#include "ui/data/MValTableModel.h"
#include "ui/data/MValTableProxy.h"

#include <QTableView>

namespace {

constexpr int kMaxColumns = RecordLayout::kMaxColumns;

} // namespace

DocumentGrid::DocumentGrid(QWidget& document, QTableView& table, const CDevice& device, CIni& ini)
    : m_table(table), m_device(device), m_model(new MValTableModel(&document)),
      m_tools(new DatasetTableTools(document, table, *m_model)),
      m_limits(new DocumentLimits(document, ini, *m_tools)) {}

void DocumentGrid::Clear() {
    m_tools->SetLayout(ExportLayout());
    m_model->Clear();
    m_tools->RecordsShown();
}

bool DocumentGrid::Fill(const MValSet& mvals) {
    QStringList titles(kMaxColumns);
    QList<short> widths(kMaxColumns);
    QList<int> kinds(kMaxColumns);
    const int count = m_device.GetTableConfig(titles, widths, kinds, mvals.strMeter);
    if (count == 0) {
        return false;
    }
    m_tools->SetLayout(ExportLayoutFor(m_device, mvals.strMeter));
    const QList<int> widthsTwips(widths.begin(), widths.begin() + count);
    m_model->SetColumns(titles.mid(0, count), widthsTwips);
    ApplyLayoutWidths(m_table, widthsTwips);
    return FillRows(mvals, count);
}

// Record k of the walk is row k under the titles. The walk only notes where each record
// line lies; the grid splits a line when it shows it, so even a million records take a
// fraction of a second and the window needs no pauses for events here.
void DocumentGrid::ShowValidity(const MValSet& mvals) {
    QHash<int, QString> invalid;
    for (qsizetype row = 0; row < mvals.origins.size(); ++row) {
        const RecordOrigin& origin = mvals.origins[row];
        if (!origin.valid) {
            invalid.insert(int(row), LoadResString(1880).arg(origin.invalidReason));
        }
    }
    m_tools->Proxy().SetInvalid(std::move(invalid));
}

bool DocumentGrid::FillRows(const MValSet& mvals, int columns) {
    if (columns > kMaxColumns) {
        return false;
    }
    RecordWalker walker(mvals.strMVals);
    QList<QStringView> lines;
    QStringView line;
    while (walker.NextLine(line)) {
        lines.append(line);
    }
    if (walker.Failed()) {
        return false;
    }
    m_model->SetRecords(mvals.strMVals, std::move(lines));
    ShowValidity(mvals);
    m_tools->RecordsShown();
    WidenClippedColumns(m_table);
    m_limits->Read();
    return true;
}
