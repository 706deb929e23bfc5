#pragma once

#include "data/LinePrinter.h"

#include <QList>
#include <QStringList>
#include <memory>

// A printer of known metrics for testing printouts: every character is `charWidth` wide
// (a tab too), every text `lineHeight` high; a page turned to landscape swaps width and
// height. It records each document page by page with the printer it went to.
struct PrinterLog {
    struct Document {
        QString printer;
        bool landscape = false;
        double fontSize = 0;
        QList<QStringList> pages{QStringList()};
        bool ended = false;
        bool discarded = false;
        QStringList AllLines() const;
    };

    QStringList names{QStringLiteral("Labo-Laser")};
    QString defaultName = QStringLiteral("Labo-Laser");
    // Whether the printouts may turn the page (false: the user chose it).
    bool mayTurn = true;
    double charWidth = 1;
    double lineHeight = 10;
    double pageWidth = 200;
    double pageHeight = 1000;
    bool endFails = false;
    QList<Document> documents;
};

// A document recorded into `log` (for printouts on a printer the caller opens).
std::unique_ptr<LinePrinter> NewRecordingPrinter(std::shared_ptr<PrinterLog> log,
                                                 const QString& name);

class RecordingPrinterFactory : public LinePrinterFactory {
public:
    explicit RecordingPrinterFactory(std::shared_ptr<PrinterLog> log) : m_log(std::move(log)) {}

    QStringList PrinterNames() const override { return m_log->names; }
    QString DefaultPrinterName() const override { return m_log->defaultName; }
    // Only the printers of `names` open.
    std::unique_ptr<LinePrinter> OpenPrinter(const QString& name) override;

private:
    std::shared_ptr<PrinterLog> m_log;
};
