// Showing the dataset: the header of the import and the grid of its records.
#include "app/DateText.h"
#include "app/ErrorTrap.h"
#include "app/Services.h"
#include "app/TextTables.h"
#include "data/RecordWalker.h"
#include "meter/RecordLayout.h"
#include "ui/data/ColumnWidths.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/MValTableModel.h"
#include "ui/data/frmDocument.h"

#include <QGroupBox>
#include <QLabel>
#include <QTableView>
#include <algorithm>

namespace {

constexpr int kMaxColumns = RecordLayout::kMaxColumns;

} // namespace

bool frmDocument::ShowMVals(bool fWithHeader) {
    return Trapped(m_services.ui, false, [&] {
        ClearHeader();
        ClearGrid();
        if (!fWithHeader) {
            return true;
        }
        ShowHeader();
        return m_mvals.strMVals.isEmpty() || FillGrid();
    });
}

void frmDocument::ShowHeader() {
    lblMeterValue->setText(m_mvals.strMeter);
    lblSerNoValue->setText(m_mvals.strSerNo);
    lblUserValue->setText(m_mvals.strUser);
    if (m_extract) {
        lblPCDateValue->setText(m_extract->PeriodText());
        lblPCTimeValue->setText(QString::number(m_extract->count));
    } else {
        lblPCDateValue->setText(ShortDateText(m_mvals.curDate.date()));
        lblPCTimeValue->setText(LongTimeText(m_mvals.curDate.time()));
    }
    LayOut(); // a longer name may need more room
}

void frmDocument::ShowHeaderCaptions() {
    const bool archived = m_extract.has_value();
    fraHeader->setTitle(archived ? LoadResString(1640).arg(m_extract->archive)
                                 : LoadResString(1205));
    lblPCDate->setText(LoadResString(archived ? 1641 : 1049));
    lblPCTime->setText(LoadResString(archived ? 1642 : 1050));
}

void frmDocument::ClearGrid() {
    m_tools->SetLayout(ExportLayout());
    m_model->Clear();
    m_tools->RecordsShown();
}

bool frmDocument::FillGrid() {
    QStringList titles(kMaxColumns);
    QList<short> widths(kMaxColumns);
    QList<int> kinds(kMaxColumns);
    const int count = m_services.device.GetTableConfig(titles, widths, kinds, m_mvals.strMeter);
    if (count == 0) {
        return false;
    }
    m_tools->SetLayout(ExportLayoutFor(m_services.device, m_mvals.strMeter));
    SetGridTitles(titles.mid(0, count), QList<int>(widths.begin(), widths.begin() + count));
    return FillGridRows(count);
}

// Record k of the walk is row k under the titles. The walk only notes where each record
// line lies; the grid splits a line when it shows it, so even a million records take a
// fraction of a second and the window needs no pauses for events here.
bool frmDocument::FillGridRows(int intNum) {
    if (intNum > kMaxColumns) {
        return false;
    }
    RecordWalker walker(m_mvals.strMVals);
    QList<QStringView> lines;
    QStringView line;
    while (walker.NextLine(line)) {
        lines.append(line);
    }
    if (walker.Failed()) {
        return false;
    }
    m_model->SetRecords(m_mvals.strMVals, std::move(lines));
    m_tools->RecordsShown();
    WidenClippedColumns(*hfgMVals);
    return true;
}
