#pragma once

#include "data/PrintOptions.h"

#include <QString>
#include <functional>

class LinePrinter;

// What Qt's print dialog and print preview start from.
struct PrintRequest {
    // The printer the printouts go to (CPrint::PrinterName); empty when none is installed.
    QString printerName;
    // Lays the printout out on a page that may still turn: turns it to landscape where
    // the printout needs it. Empty for a printout that keeps the portrait page.
    std::function<bool(LinePrinter&)> fitPage;
    // Prints the printout (the preview's pages, or the printer chosen from the preview).
    std::function<bool(LinePrinter&)> print;
    // The layout the dialogs offer to change (table or list, the signature block), and
    // what takes a changed choice; empty: the dialogs offer no choice.
    PrintOptions options;
    std::function<void(const PrintOptions&)> setOptions;
    // The text of the choice "only the rows shown" with their count, when the window's table
    // is filtered or sorted (options.shownOnly holds it); empty: no such choice.
    QString shownChoice;
};
