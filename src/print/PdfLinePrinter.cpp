#include "print/PdfLinePrinter.h"

#include "app/Errors.h"

#include <QPageLayout>
#include <QPageSize>

namespace {

constexpr double kMargin_mm = 15;

} // namespace

PdfLinePrinter::PdfLinePrinter(const QString& path) : m_file(path), m_writer(&m_file) {
    // A folder that refuses the temporary file may still hold a file the user can write.
    m_file.setDirectWriteFallback(true);
    if (!m_file.open(QIODevice::WriteOnly)) {
        throw MervexError(QStringLiteral("%1: %2").arg(path, m_file.errorString()));
    }
    m_writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       QMarginsF(kMargin_mm, kMargin_mm, kMargin_mm, kMargin_mm),
                                       QPageLayout::Millimeter));
    m_writer.setCreator(QStringLiteral("Mervex"));
    Begin(m_writer);
}

PdfLinePrinter::~PdfLinePrinter() {
    if (Painting()) {
        Finish();
        m_file.cancelWriting();
    }
}

bool PdfLinePrinter::EndDocument() {
    // commit() does not report a failed final flush: check it first.
    const bool written = Finish() && m_file.flush();
    if (!written) {
        m_file.cancelWriting();
    }
    return written && m_file.commit();
}
