#pragma once

#include "print/PainterLinePrinter.h"

#include <QPrinter>

class QPrinterInfo;

// A document on an installed printer (through the system's print service). Ending the
// document sends it; a discarded document is cancelled.
class SystemLinePrinter : public PainterLinePrinter {
public:
    // Throws MervexError when the printer cannot start a document.
    explicit SystemLinePrinter(const QPrinterInfo& printer);
    ~SystemLinePrinter() override;

    bool EndDocument() override;

private:
    QPrinter m_printer;
};
