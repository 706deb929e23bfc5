#include "ui/data/DocumentPrinting.h"

#include "data/CPrint.h"
#include "ui/data/DatasetTableTools.h"
#include "ui/data/MValTableProxy.h"
#include "ui/data/frmDocument.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

DocumentPrinting::DocumentPrinting(frmDocument& document, PrintServices services)
    : m_document(document), m_services(services) {}

void DocumentPrinting::AddEntries(const AppMenus& menus) {
    const PrintActions print =
        NewPrintActions(&m_document, m_services, "mnuFile", [this] { return DatasetPrintout(); });
    print.printTo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    QMenu* file = menus.mnuFile;
    file->insertActions(menus.mnuFileExit, {print.printTo, print.preview, print.exportPdf});
    file->insertSeparator(menus.mnuFileExit)->setObjectName(QStringLiteral("mnuFileBarPrint"));
    file->setToolTipsVisible(true);
}

std::optional<Printout> DocumentPrinting::DatasetPrintout() {
    if (m_document.MVals().strMVals.isEmpty()) {
        m_document.ReportNoDataset();
        return std::nullopt;
    }
    Printout printout;
    printout.shown = m_document.TableTools().Proxy().Shown();
    printout.whole = m_document.TableTools().Proxy().Whole();
    // The choice is read when the pages are made: the dialog and the preview change it.
    printout.fitPage = [this, shown = printout.shown](LinePrinter& printer) {
        const MValSet& m = m_document.MVals();
        return m_services.print.FitMValsPage(printer, m.strMeter, m.strSerNo, m.strUser, m.curDate,
                                             m.strMVals, m_document.FilePath(),
                                             PrintedRecords(shown), Limits());
    };
    printout.print = [this, shown = printout.shown](LinePrinter& printer) {
        const MValSet& m = m_document.MVals();
        const RecordSelection printed = PrintedRecords(shown);
        return m_services.print.PrintMVals(printer, m.strMeter, m.strSerNo, m.strUser, m.curDate,
                                           m.strMVals, m_document.FilePath(), printed, Limits(),
                                           m_document.Reviews().Verified(m, printed));
    };
    printout.pdfName = m_document.ProposedName();
    return printout;
}

const LimitFlags& DocumentPrinting::Limits() const {
    return m_document.TableTools().Proxy().Limits();
}

RecordSelection DocumentPrinting::PrintedRecords(const RecordSelection& shown) const {
    return m_services.print.Options().shownOnly ? shown : m_document.TableTools().Proxy().Whole();
}
