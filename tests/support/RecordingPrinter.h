#pragma once

#include "data/LinePrinter.h"

#include <QList>
#include <QStringList>
#include <memory>

// A printer of known metrics for testing printouts: every character is `charWidth` wide
// (a tab too), every text `lineHeight` high. It records each document page by page.
struct PrinterLog {
    struct Document {
        double fontSize = 0;
        QList<QStringList> pages{QStringList()};
        bool ended = false;
        bool discarded = false;
        QStringList AllLines() const;
    };

    int printers = 1;
    QString defaultName = QStringLiteral("Labo-Laser");
    double charWidth = 1;
    double lineHeight = 10;
    double pageWidth = 200;
    double pageHeight = 1000;
    bool endFails = false;
    QList<Document> documents;
};

class RecordingPrinterFactory : public LinePrinterFactory {
public:
    explicit RecordingPrinterFactory(std::shared_ptr<PrinterLog> log) : m_log(std::move(log)) {}

    int PrinterCount() const override { return m_log->printers; }
    QString DefaultPrinterName() const override { return m_log->defaultName; }
    std::unique_ptr<LinePrinter> OpenDefaultPrinter() override;

private:
    std::shared_ptr<PrinterLog> m_log;
};
