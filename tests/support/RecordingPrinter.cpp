#include "support/RecordingPrinter.h"

namespace {

class RecordingPrinter : public LinePrinter {
public:
    RecordingPrinter(std::shared_ptr<PrinterLog> log, const QString& name)
        : m_log(std::move(log)), m_index(m_log->documents.size()), m_mayTurn(m_log->mayTurn) {
        m_log->documents.append(PrinterLog::Document());
        Doc().printer = name;
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
    double PrintableHeight() const override {
        return Doc().landscape ? m_log->pageWidth : m_log->pageHeight;
    }
    double PrintableWidth() const override {
        return Doc().landscape ? m_log->pageHeight : m_log->pageWidth;
    }
    bool MayTurnPage() const override { return m_mayTurn; }
    void TurnToLandscape() override {
        if (m_mayTurn) {
            Doc().landscape = true;
        }
    }
    void PrintLine(const QString& text) override {
        m_mayTurn = false;
        Doc().pages.last().append(text);
    }
    void NewPage() override {
        m_mayTurn = false;
        Doc().pages.append(QStringList());
    }
    bool EndDocument() override {
        Doc().ended = !m_log->endFails;
        return Doc().ended;
    }

private:
    PrinterLog::Document& Doc() const { return m_log->documents[m_index]; }

    std::shared_ptr<PrinterLog> m_log;
    qsizetype m_index;
    bool m_mayTurn;
};

} // namespace

QStringList PrinterLog::Document::AllLines() const {
    QStringList lines;
    for (const QStringList& page : pages) {
        lines += page;
    }
    return lines;
}

std::unique_ptr<LinePrinter> NewRecordingPrinter(std::shared_ptr<PrinterLog> log,
                                                 const QString& name) {
    return std::make_unique<RecordingPrinter>(std::move(log), name);
}

std::unique_ptr<LinePrinter> RecordingPrinterFactory::OpenPrinter(const QString& name) {
    return m_log->names.contains(name) ? NewRecordingPrinter(m_log, name) : nullptr;
}
