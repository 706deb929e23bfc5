#pragma once

#include "app/Ui.h"
#include "data/RecordSelection.h"
#include "ui/app/TaskServices.h"

#include <QString>
#include <functional>
#include <optional>

class QAction;
class QWidget;

// What a window prints beside its quick print: how its printout lays out the page, how
// it prints on a printer, and the name a PDF of it is proposed under. `shown`: the rows
// of the window's filtered or sorted table, offered as the choice "only the rows shown"
// (PrintOptions::shownOnly, which `print` follows); equal to `whole` (the whole dataset,
// or every record of it that counts): no such choice.
struct Printout {
    std::function<bool(LinePrinter&)> fitPage; // empty: the portrait page stays
    std::function<bool(LinePrinter&)> print;
    QString pdfName;
    RecordSelection shown;
    RecordSelection whole;
};

// "Imprimer…": Qt's print dialog over the printer of the quick print, then the printout
// on the chosen printer; "Erreur d'impression!" when it fails.
bool PrintWithDialog(PrintServices services, const Printout& printout);
// "Aperçu avant impression": the pages the printout puts on that printer, printable from
// there.
void PreviewPrintout(PrintServices services, const Printout& printout);
// "Exporter en PDF…": for a filtered or sorted table the question whether only the rows
// shown are printed (the answer becomes the printouts' choice), the save dialog, then the
// printout into the chosen file on the
// locale's paper, its page turned as the quick print turns it. The file is replaced only
// by a complete printout; "Erreur lors de l'exportation!" otherwise. The file written, or
// nothing.
std::optional<QString> ExportPdf(PrintServices services, const Printout& printout);

// The three commands as entries named `<prefix>PrintTo`, `<prefix>Preview` and
// `<prefix>ExportPdf`, with their texts and tool tips as string numbers for the window's
// captions. Each runs with the window's printout unless the program is busy (disabled
// meanwhile); `printout` gives nothing when there is nothing to print (it says why). A
// printout or PDF that was made is told in the owner's main window's status bar.
struct PrintActions {
    QAction* printTo = nullptr;
    QAction* preview = nullptr;
    QAction* exportPdf = nullptr;
};
PrintActions NewPrintActions(QWidget* owner, PrintServices services, const char* prefix,
                             std::function<std::optional<Printout>()> printout);
