#include "print/PdfLinePrinter.h"

#include "app/Errors.h"
#include "app/RunTimeErrors.h"
#include "print/PageSetup.h"

PdfLinePrinter::PdfLinePrinter(const QString& path, const QPageSize& page,
                               PageOrientation orientation)
    : m_file(path), m_writer(&m_file) {
    m_file.Begin();
    m_writer.setPageSize(page);
    SetUpPage(m_writer, orientation);
    m_writer.setCreator(QStringLiteral("Mervex"));
    Attach(m_writer, orientation == PageOrientation::Automatic);
}

PdfLinePrinter::~PdfLinePrinter() {
    Stop();
}

bool PdfLinePrinter::EndDocument() {
    if (!Finish()) {
        m_file.Discard();
        return false;
    }
    m_file.Commit();
    return true;
}

void PdfLinePrinter::SetDocumentInfo(const QString& title, const QString& creator) {
    m_writer.setTitle(title);
    m_writer.setCreator(creator);
}
