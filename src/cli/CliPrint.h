#pragma once

#include "data/PrintOptions.h"

#include <QString>
#include <QStringList>

class CPrint;

// The page options of the printing commands: `--page A4|Letter`, `--landscape`,
// `--layout table|lines` and `--no-signature`.
struct CliPage {
    bool a4 = true;
    bool landscape = false; // else the printout chooses (landscape for wide datasets)
    PrintOptions options;
};

// Takes the page options out of `args` (anywhere among them); false on a bad or repeated
// option.
bool TakePageOptions(QStringList& args, CliPage& page);

// Sends the printouts of `print` into the PDF file at `path` (the command line's only
// printer) on the given page, laid out as the options say.
void PrintIntoPdf(CPrint& print, const QString& path, const CliPage& page);
