#pragma once

#include "app/SafeSaveFile.h"
#include "print/PainterLinePrinter.h"

#include <QPageSize>
#include <QPdfWriter>

// A document rendered into a PDF file (15 mm margins). The file appears, or replaces an
// older one, only when the document ends; a discarded document leaves no file.
class PdfLinePrinter : public PainterLinePrinter {
public:
    // Throws MervexError when the file cannot be created.
    explicit PdfLinePrinter(const QString& path, const QPageSize& page = QPageSize(QPageSize::A4),
                            PageOrientation orientation = PageOrientation::Automatic);
    ~PdfLinePrinter() override;

    // Throws FileFailure when the finished file cannot be put in place.
    bool EndDocument() override;
    void SetDocumentInfo(const QString& title, const QString& creator) override;

private:
    SafeSaveFile m_file;
    QPdfWriter m_writer;
};
