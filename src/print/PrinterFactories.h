#pragma once

#include "data/LinePrinter.h"

// The installed printers of the system; documents go to the default printer.
class SystemPrinterFactory : public LinePrinterFactory {
public:
    int PrinterCount() const override;
    QString DefaultPrinterName() const override;
    std::unique_ptr<LinePrinter> OpenDefaultPrinter() override;
};

// One printer, the default, that renders every document into the same PDF file (the
// command line's printer). Its name is the file's path.
class PdfFileFactory : public LinePrinterFactory {
public:
    explicit PdfFileFactory(QString path) : m_path(std::move(path)) {}

    int PrinterCount() const override { return 1; }
    QString DefaultPrinterName() const override { return m_path; }
    std::unique_ptr<LinePrinter> OpenDefaultPrinter() override;

private:
    QString m_path;
};
