#include "ui/app/PrintCommands.h"

#include "app/BusyState.h"
#include "app/ErrorTrap.h"
#include "app/TextTables.h"
#include "data/AskShownRows.h"
#include "data/CPrint.h"
#include "data/PrintRequest.h"
#include "print/PageSetup.h"
#include "print/PdfLinePrinter.h"
#include "print/PrinterFactories.h"
#include "ui/app/StatusMessage.h"

#include <QAction>
#include <QFileInfo>
#include <QWidget>

namespace {

PrintRequest RequestFor(PrintServices services, const Printout& printout) {
    PrintRequest request;
    request.printerName = services.print.PrinterName();
    request.fitPage = printout.fitPage;
    request.print = printout.print;
    request.options = services.print.Options();
    if (printout.shown != printout.whole) {
        request.shownChoice =
            LoadResString(1646).arg(printout.shown.Count()).arg(printout.shown.Total());
    }
    // The choice holds for the printouts that follow and for the user's next session.
    request.setOptions = [services](const PrintOptions& options) {
        services.print.SetOptions(options);
        RememberPrintOptions(options);
    };
    return request;
}

bool Fail(PrintServices services, int message) {
    services.ui.Message(LoadResString(message), LoadResString(1033), MsgIcon::Critical);
    return false;
}

} // namespace

bool PrintWithDialog(PrintServices services, const Printout& printout) {
    const std::unique_ptr<LinePrinter> chosen =
        services.ui.PrintDialog(RequestFor(services, printout));
    if (!chosen) {
        return false;
    }
    return printout.print(*chosen) || Fail(services, 1209);
}

void PreviewPrintout(PrintServices services, const Printout& printout) {
    PrintRequest request = RequestFor(services, printout);
    request.print = [&](LinePrinter& printer) {
        return printout.print(printer) || Fail(services, 1209);
    };
    services.ui.PrintPreview(request);
}

std::optional<QString> ExportPdf(PrintServices services, const Printout& printout) {
    PrintOptions options = services.print.Options();
    const std::optional<RecordSelection> rows =
        AskShownRows(services.ui, printout.shown, printout.whole, options.shownOnly);
    if (!rows) {
        return std::nullopt;
    }
    if (printout.shown != printout.whole) {
        options.shownOnly = *rows != printout.whole;
        services.print.SetOptions(options);
    }
    FileDialogRequest request;
    request.title = LoadResString(1112);
    request.filter = LoadResString(1266) + QStringLiteral(" (*.pdf)|*.pdf");
    request.fileName = printout.pdfName;
    request.defaultExtension = QStringLiteral("pdf");
    request.overwritePrompt = true;
    request.pathMustExist = true;
    request.hideReadOnly = true;
    std::optional<QString> path = services.ui.SaveFileDialog(request);
    if (!path) {
        return std::nullopt;
    }
    if (QFileInfo(*path).suffix().isEmpty()) {
        *path += QStringLiteral(".pdf");
    }
    const bool exported = Trapped(services.ui, false, [&] {
        // Written beside the file and put in its place only when complete.
        PdfLinePrinter pdf(*path, LocalePageSize(), PageOrientation::Automatic);
        return printout.print(pdf);
    });
    if (!exported) {
        Fail(services, 1058);
        return std::nullopt;
    }
    return path;
}

PrintActions NewPrintActions(QWidget* owner, PrintServices services, const char* prefix,
                             std::function<std::optional<Printout>()> printout) {
    // Each command runs with the printout and the window whose status bar tells the result.
    using Command = void (*)(PrintServices, const Printout&, QWidget*);
    const auto entry = [&](const char* name, int text, int tip, Command command) {
        auto* action = new QAction(QString::number(text), owner);
        action->setObjectName(QLatin1String(prefix) + QLatin1String(name));
        action->setToolTip(QString::number(tip));
        action->setStatusTip(QString::number(tip));
        action->setEnabled(!services.busy.Busy());
        QObject::connect(&services.busy, &BusyState::Changed, action,
                         [action](bool busy) { action->setEnabled(!busy); });
        QObject::connect(action, &QAction::triggered, owner, [services, printout, command, owner] {
            services.busy.RunCommand([&] {
                TrappedVoid(services.ui, [&] {
                    if (const std::optional<Printout> p = printout()) {
                        command(services, *p, owner);
                    }
                });
            });
        });
        return action;
    };
    PrintActions actions;
    actions.printTo =
        entry("PrintTo", 1260, 1261, [](PrintServices s, const Printout& p, QWidget* w) {
            if (PrintWithDialog(s, p)) {
                ShowPrintedMessage(w, p.pdfName);
            }
        });
    actions.preview =
        entry("Preview", 1262, 1263,
              [](PrintServices s, const Printout& p, QWidget*) { PreviewPrintout(s, p); });
    actions.exportPdf =
        entry("ExportPdf", 1264, 1265, [](PrintServices s, const Printout& p, QWidget* w) {
            if (const std::optional<QString> path = ExportPdf(s, p)) {
                ShowExportedMessage(w, *path);
            }
        });
    return actions;
}
