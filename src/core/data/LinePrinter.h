#pragma once

#include <QString>
#include <memory>

// A printer that prints plain text lines from the top of the page down, in its own units
// (the same unit for heights, widths and the printable size).
class LinePrinter {
public:
    virtual ~LinePrinter() = default;

    virtual void SetFontSize(double points) = 0;
    virtual double TextHeight(const QString& text) const = 0;
    virtual double TextWidth(const QString& text) const = 0;
    virtual double PrintableHeight() const = 0;
    virtual double PrintableWidth() const = 0;
    // Prints the text at the current line and moves to the next line.
    virtual void PrintLine(const QString& text) = 0;
    virtual void NewPage() = 0;
    // Sends the document to the printer; a printer destroyed before this discards it.
    virtual bool EndDocument() = 0;
};

// The printers the program can reach: how many are installed, which is the default, and a
// fresh document on the default printer.
class LinePrinterFactory {
public:
    virtual ~LinePrinterFactory() = default;

    virtual int PrinterCount() const = 0;
    virtual QString DefaultPrinterName() const = 0;
    // A new document on the default printer; nullptr when it cannot be started.
    virtual std::unique_ptr<LinePrinter> OpenDefaultPrinter() = 0;
};
