#include "print/SystemLinePrinter.h"

#include <QPrinterInfo>

SystemLinePrinter::SystemLinePrinter(const QPrinterInfo& printer)
    : m_owned(std::make_unique<QPrinter>(printer, QPrinter::HighResolution)), m_printer(*m_owned) {
    m_printer.setDocName(QStringLiteral("Mervex"));
    SetUpPage(m_printer, PageOrientation::Automatic);
    Attach(m_printer, true);
}

SystemLinePrinter::SystemLinePrinter(QPrinter& printer) : m_printer(printer) {
    m_printer.setDocName(QStringLiteral("Mervex"));
    Attach(m_printer, false);
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
