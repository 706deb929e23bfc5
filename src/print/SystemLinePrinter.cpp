#include "print/SystemLinePrinter.h"

#include "print/PageSetup.h"

#include <QPrinterInfo>

std::unique_ptr<QPrinter> NewProgramPrinter(const QString& name) {
    const QPrinterInfo info = name.isEmpty() ? QPrinterInfo() : QPrinterInfo::printerInfo(name);
    auto printer = info.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                                 : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    if (info.isNull()) {
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setPageSize(LocalePageSize());
    }
    printer->setDocName(QStringLiteral("Mervex"));
    SetUpPage(*printer, PageOrientation::Automatic);
    return printer;
}

SystemLinePrinter::SystemLinePrinter(QPrinter& printer, bool fMayTurn) : m_printer(printer) {
    m_printer.setDocName(QStringLiteral("Mervex"));
    Attach(m_printer, fMayTurn);
}

SystemLinePrinter::SystemLinePrinter(std::unique_ptr<QPrinter> printer, bool fMayTurn)
    : m_owned(std::move(printer)), m_printer(*m_owned) {
    Attach(m_printer, fMayTurn);
}

SystemLinePrinter::~SystemLinePrinter() {
    if (Painting()) {
        m_printer.abort();
        Stop();
    }
}

bool SystemLinePrinter::EndDocument() {
    return Finish() && m_printer.printerState() != QPrinter::Error;
}

void SystemLinePrinter::SetDocumentInfo(const QString& title, const QString& creator) {
    // The print queue's job name, or the PDF's title when the printer writes a file.
    m_printer.setDocName(title);
    m_printer.setCreator(creator);
}
