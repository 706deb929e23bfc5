// The document's printing beside the quick print: print dialog, preview and PDF export.
#include "app/Services.h"
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
    printout.fitPage = [this](LinePrinter& printer) {
        return m_services.print.FitMValsPage(printer, m_mvals.strMeter, m_mvals.strSerNo,
                                             m_mvals.strUser, m_mvals.curDate, m_mvals.strMVals,
                                             m_strFilePath);
    };
    printout.print = [this](LinePrinter& printer) {
        return m_services.print.PrintMVals(printer, m_mvals.strMeter, m_mvals.strSerNo,
                                           m_mvals.strUser, m_mvals.curDate, m_mvals.strMVals,
                                           m_strFilePath);
    };
    printout.pdfName = ProposedName();
    return printout;
}
