#pragma once

#include "print/PainterLinePrinter.h"

#include <QPrinter>
#include <memory>

class QPrinterInfo;

// A document on a QPrinter: an installed printer (through the system's print service),
// or the printer a print dialog or a preview set up. Ending the document sends it; a
// discarded document is cancelled.
class SystemLinePrinter : public PainterLinePrinter {
public:
    // A document on an installed printer, with its paper and the program's margins; the
    // printout may turn the page.
    explicit SystemLinePrinter(const QPrinterInfo& printer);
    // A document on `printer` as the user set it up (its page stays as it is).
    explicit SystemLinePrinter(QPrinter& printer);
    ~SystemLinePrinter() override;

    bool EndDocument() override;

private:
    std::unique_ptr<QPrinter> m_owned;
    QPrinter& m_printer;
};
