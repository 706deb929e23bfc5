#include "print/SystemLinePrinter.h"

#include <QPrinterInfo>

SystemLinePrinter::SystemLinePrinter(const QPrinterInfo& printer)
    : m_printer(printer, QPrinter::HighResolution) {
    m_printer.setDocName(QStringLiteral("Mervex"));
    Begin(m_printer);
}

SystemLinePrinter::~SystemLinePrinter() {
    if (Painting()) {
        m_printer.abort();
        Finish();
    }
}

bool SystemLinePrinter::EndDocument() {
    return Finish() && m_printer.printerState() != QPrinter::Error;
}
