#include "print/PrinterFactories.h"

#include "print/PdfLinePrinter.h"
#include "print/SystemLinePrinter.h"

#include <QPrinterInfo>

QStringList SystemPrinterFactory::PrinterNames() const {
    return QPrinterInfo::availablePrinterNames();
}

QString SystemPrinterFactory::DefaultPrinterName() const {
    return QPrinterInfo::defaultPrinterName();
}

std::unique_ptr<LinePrinter> SystemPrinterFactory::OpenPrinter(const QString& name) {
    if (QPrinterInfo::printerInfo(name).isNull()) {
        return nullptr;
    }
    return std::make_unique<SystemLinePrinter>(NewProgramPrinter(name), true);
}

std::unique_ptr<LinePrinter> PdfFileFactory::OpenPrinter(const QString& name) {
    return name == m_path ? std::make_unique<PdfLinePrinter>(m_path, m_page, m_orientation)
                          : nullptr;
}
