#include "support/RecordingPrinter.h"

namespace {

class RecordingPrinter : public LinePrinter {
public:
    RecordingPrinter(std::shared_ptr<PrinterLog> log)
        : m_log(std::move(log)), m_index(m_log->documents.size()) {
        m_log->documents.append(PrinterLog::Document());
    }
    ~RecordingPrinter() override {
        if (!Doc().ended) {
            Doc().discarded = true;
        }
    }

    void SetFontSize(double points) override { Doc().fontSize = points; }
    double TextHeight(const QString&) const override { return m_log->lineHeight; }
    double TextWidth(const QString& text) const override {
        return static_cast<double>(text.size()) * m_log->charWidth;
    }
    double PrintableHeight() const override { return m_log->pageHeight; }
    double PrintableWidth() const override { return m_log->pageWidth; }
    void PrintLine(const QString& text) override { Doc().pages.last().append(text); }
    void NewPage() override { Doc().pages.append(QStringList()); }
    bool EndDocument() override {
        Doc().ended = !m_log->endFails;
        return Doc().ended;
    }

private:
    PrinterLog::Document& Doc() const { return m_log->documents[m_index]; }

    std::shared_ptr<PrinterLog> m_log;
    qsizetype m_index;
};

} // namespace

QStringList PrinterLog::Document::AllLines() const {
    QStringList lines;
    for (const QStringList& page : pages) {
        lines += page;
    }
    return lines;
}

std::unique_ptr<LinePrinter> RecordingPrinterFactory::OpenDefaultPrinter() {
    return std::make_unique<RecordingPrinter>(m_log);
}
