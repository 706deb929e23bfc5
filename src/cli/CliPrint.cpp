#include "cli/CliPrint.h"

#include "data/CPrint.h"
#include "print/PrinterFactories.h"

bool TakePageOptions(QStringList& args, CliPage& page) {
    bool pageSeen = false;
    bool landscapeSeen = false;
    bool layoutSeen = false;
    bool signatureSeen = false;
    QStringList rest;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--no-signature")) {
            if (signatureSeen) {
                return false;
            }
            signatureSeen = true;
            page.options.signature = false;
        } else if (arg == QLatin1String("--layout")) {
            const QString layout = args.value(++i);
            if (layoutSeen ||
                (layout != QLatin1String("table") && layout != QLatin1String("lines"))) {
                return false;
            }
            layoutSeen = true;
            page.options.layout =
                layout == QLatin1String("lines") ? PrintLayout::Lines : PrintLayout::Table;
        } else if (arg == QLatin1String("--landscape")) {
            if (landscapeSeen) {
                return false;
            }
            landscapeSeen = page.landscape = true;
        } else if (arg == QLatin1String("--page")) {
            const QString size = args.value(++i);
            if (pageSeen || (size != QLatin1String("A4") && size != QLatin1String("Letter"))) {
                return false;
            }
            pageSeen = true;
            page.a4 = size == QLatin1String("A4");
        } else {
            rest << arg;
        }
    }
    args = rest;
    return true;
}

void PrintIntoPdf(CPrint& print, const QString& path, const CliPage& page) {
    print.SetOptions(page.options);
    print.SetPrinterFactory(std::make_unique<PdfFileFactory>(
        path, QPageSize(page.a4 ? QPageSize::A4 : QPageSize::Letter),
        page.landscape ? PageOrientation::Landscape : PageOrientation::Automatic));
}
