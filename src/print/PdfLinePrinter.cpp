#include "print/PdfLinePrinter.h"

#include "app/Errors.h"
#include "app/RunTimeErrors.h"

PdfLinePrinter::PdfLinePrinter(const QString& path, const QPageSize& page,
                               PageOrientation orientation)
    : m_file(path), m_writer(&m_file) {
    // A folder that refuses the temporary file may still hold a file the user can write.
    m_file.setDirectWriteFallback(true);
    if (!m_file.open(QIODevice::WriteOnly)) {
        throw FileError(path, m_file, true);
    }
    m_writer.setPageSize(page);
    SetUpPage(m_writer, orientation);
    m_writer.setCreator(QStringLiteral("Mervex"));
    Attach(m_writer, orientation == PageOrientation::Automatic);
}

PdfLinePrinter::~PdfLinePrinter() {
    Stop();
    m_file.cancelWriting();
}

bool PdfLinePrinter::EndDocument() {
    // commit() does not report a failed final flush: check it first.
    const bool written = Finish() && m_file.flush();
    if (!written) {
        m_file.cancelWriting();
    }
    return written && m_file.commit();
}

void PdfLinePrinter::SetDocumentInfo(const QString& title, const QString& creator) {
    m_writer.setTitle(title);
    m_writer.setCreator(creator);
}
