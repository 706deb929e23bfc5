#pragma once

#include "print/PainterLinePrinter.h"

#include <QPrinter>
#include <memory>

// A document on a QPrinter: an installed printer (through the system's print service),
// or the printer a print dialog or a preview set up. Ending the document sends it; a
// discarded document is cancelled.
class SystemLinePrinter : public PainterLinePrinter {
public:
    // A document on `printer` as the user set it up (its page stays as it is), or, with
    // fMayTurn, one whose page is still left to the printout (laid out before a dialog).
    explicit SystemLinePrinter(QPrinter& printer, bool fMayTurn = false);
    // A document on a printer of its own (NewProgramPrinter's, a print dialog's choice).
    explicit SystemLinePrinter(std::unique_ptr<QPrinter> printer, bool fMayTurn = false);
    ~SystemLinePrinter() override;

    bool EndDocument() override;
    void SetDocumentInfo(const QString& title, const QString& creator) override;

private:
    std::unique_ptr<QPrinter> m_owned;
    QPrinter& m_printer;
};

// The printer `name` with its paper and the program's margins, its page still portrait
// for the printout to turn; a PDF printer on the locale's paper when no such printer is
// installed (a print dialog then offers printing to a file).
std::unique_ptr<QPrinter> NewProgramPrinter(const QString& name);
