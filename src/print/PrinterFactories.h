#pragma once

#include "data/LinePrinter.h"

#include <QPageSize>

// The installed printers of the system.
class SystemPrinterFactory : public LinePrinterFactory {
public:
    QStringList PrinterNames() const override;
    QString DefaultPrinterName() const override;
    std::unique_ptr<LinePrinter> OpenPrinter(const QString& name) override;
};

// One printer, the default, that renders every document into the same PDF file (the
// command line's printer and the windows' PDF export). Its name is the file's path.
class PdfFileFactory : public LinePrinterFactory {
public:
    explicit PdfFileFactory(QString path, const QPageSize& page = QPageSize(QPageSize::A4),
                            PageOrientation orientation = PageOrientation::Automatic)
        : m_path(std::move(path)), m_page(page), m_orientation(orientation) {}

    QStringList PrinterNames() const override { return {m_path}; }
    QString DefaultPrinterName() const override { return m_path; }
    std::unique_ptr<LinePrinter> OpenPrinter(const QString& name) override;

private:
    QString m_path;
    QPageSize m_page;
    PageOrientation m_orientation;
};
