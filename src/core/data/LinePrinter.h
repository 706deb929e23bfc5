#pragma once

#include <QString>
#include <QStringList>
#include <memory>

// How a page is turned. Automatic leaves it to the printout: a dataset whose lines are
// wider than the portrait page is printed in landscape.
enum class PageOrientation { Automatic, Portrait, Landscape };

class PagePainter;

// A printer that prints plain text lines from the top of the page down, in its own units
// (the same unit for heights, widths and the printable size).
class LinePrinter {
public:
    virtual ~LinePrinter() = default;

    // The same printer painting text anywhere on its pages (the table report), or nullptr
    // for a printer that only prints lines.
    virtual PagePainter* Pages() { return nullptr; }

    virtual void SetFontSize(double points) = 0;
    virtual double TextHeight(const QString& text) const = 0;
    virtual double TextWidth(const QString& text) const = 0;
    virtual double PrintableHeight() const = 0;
    virtual double PrintableWidth() const = 0;
    // Whether the printout may still turn the page: its orientation was left to the
    // printout and nothing is printed yet.
    virtual bool MayTurnPage() const = 0;
    // Turns the page to landscape; only while MayTurnPage().
    virtual void TurnToLandscape() = 0;
    // Prints the text at the current line and moves to the next line.
    virtual void PrintLine(const QString& text) = 0;
    virtual void NewPage() = 0;
    // Sends the document to the printer; a printer destroyed before this discards it.
    virtual bool EndDocument() = 0;
};

// The printers the program can reach: the installed ones, which of them is the default,
// and a fresh document on one of them.
class LinePrinterFactory {
public:
    virtual ~LinePrinterFactory() = default;

    virtual QStringList PrinterNames() const = 0;
    // Empty when no default printer is set.
    virtual QString DefaultPrinterName() const = 0;
    // A new document on the named printer, its page left to the printout; nullptr when it
    // cannot be started.
    virtual std::unique_ptr<LinePrinter> OpenPrinter(const QString& name) = 0;
};
