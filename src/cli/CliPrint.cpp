#include "cli/CliPrint.h"

#include "app/Services.h"
#include "print/PrinterFactories.h"

void PrintIntoPdf(Services& services, const QString& path) {
    services.print.SetPrinterFactory(std::make_unique<PdfFileFactory>(path));
}
