// The document's printing beside the quick print: print dialog, preview and PDF export.
#include "app/Services.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/MValTableProxy.h"
#include "ui/data/frmDocument.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

void frmDocument::AddPrintEntries() {
    const PrintActions print =
        NewPrintActions(this, m_services, "mnuFile", [this] { return DatasetPrintout(); });
    print.printTo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    QMenu* file = m_menus.mnuFile;
    file->insertActions(m_menus.mnuFileExit, {print.printTo, print.preview, print.exportPdf});
    file->insertSeparator(m_menus.mnuFileExit)->setObjectName(QStringLiteral("mnuFileBarPrint"));
    file->setToolTipsVisible(true);
}

std::optional<Printout> frmDocument::DatasetPrintout() {
    if (m_mvals.strMVals.isEmpty()) {
        ReportNoDataset();
        return std::nullopt;
    }
    Printout printout;
    printout.shown = m_tools->Proxy().Shown();
    // The choice is read when the pages are made: the dialog and the preview change it.
    printout.fitPage = [this, shown = printout.shown](LinePrinter& printer) {
        return m_services.print.FitMValsPage(printer, m_mvals.strMeter, m_mvals.strSerNo,
                                             m_mvals.strUser, m_mvals.curDate, m_mvals.strMVals,
                                             m_strFilePath, PrintedRecords(shown));
    };
    printout.print = [this, shown = printout.shown](LinePrinter& printer) {
        return m_services.print.PrintMVals(printer, m_mvals.strMeter, m_mvals.strSerNo,
                                           m_mvals.strUser, m_mvals.curDate, m_mvals.strMVals,
                                           m_strFilePath, PrintedRecords(shown));
    };
    printout.pdfName = ProposedName();
    return printout;
}

RecordSelection frmDocument::PrintedRecords(const RecordSelection& shown) const {
    return m_services.print.Options().shownOnly ? shown : RecordSelection();
}
