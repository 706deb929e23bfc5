#include "print/PrinterFactories.h"

#include "print/PdfLinePrinter.h"
#include "print/SystemLinePrinter.h"

#include <QPrinterInfo>

int SystemPrinterFactory::PrinterCount() const {
    return static_cast<int>(QPrinterInfo::availablePrinterNames().size());
}

QString SystemPrinterFactory::DefaultPrinterName() const {
    return QPrinterInfo::defaultPrinterName();
}

std::unique_ptr<LinePrinter> SystemPrinterFactory::OpenDefaultPrinter() {
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) {
        return nullptr;
    }
    return std::make_unique<SystemLinePrinter>(printer);
}

std::unique_ptr<LinePrinter> PdfFileFactory::OpenDefaultPrinter() {
    return std::make_unique<PdfLinePrinter>(m_path);
}
