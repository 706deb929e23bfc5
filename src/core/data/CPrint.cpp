#include "data/CPrint.h"

#include "app/BusyState.h"
#include "app/CIni.h"
#include "app/ErrorTrap.h"
#include "app/Paths.h"
#include "app/RunTimeErrors.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "calibration/CCalProtocol.h"
#include "data/PagePainter.h"
#include "data/PrintoutLines.h"
#include "data/RecordWalker.h"
#include "data/ReportContents.h"
#include "data/TableReport.h"
#include "meter/CDevice.h"
#include "meter/ColumnKind.h"
#include "meter/RecordLayout.h"

#include <QFileInfo>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {

constexpr double kFontSize_pt = 11;
constexpr int kTopLines = 2;
// Room for the two top lines and one line of text; anything less cannot page.
constexpr int kMinLinesPerPage = kTopLines + 1;
constexpr int kTableColumns = 16;
// After a value beyond its program's limits; the legend under the rows (string 1756) starts
// with it.
const QString kBeyondMarker = QStringLiteral(" *");

// What a program without printer support sees: no printer at all.
class NoPrinters : public LinePrinterFactory {
public:
    QStringList PrinterNames() const override { return {}; }
    QString DefaultPrinterName() const override { return QString(); }
    std::unique_ptr<LinePrinter> OpenPrinter(const QString&) override { return nullptr; }
};

} // namespace

CPrint::CPrint(Ui& ui, BusyState& busy, const CDevice& device, CCalProtocol& calProtocol, CIni& ini)
    : m_ui(ui), m_busy(busy), m_device(device), m_calProtocol(calProtocol), m_ini(ini),
      m_factory(std::make_unique<NoPrinters>()), m_clock(&QDateTime::currentDateTime) {}

CPrint::~CPrint() = default;

void CPrint::SetPrinterFactory(std::unique_ptr<LinePrinterFactory> factory) {
    m_factory = factory ? std::move(factory) : std::make_unique<NoPrinters>();
}

void CPrint::SetClock(std::function<QDateTime()> clock) {
    m_clock = std::move(clock);
}

bool CPrint::PrinterAvailable() {
    return Trapped(m_ui, false, [&] { return !m_factory->PrinterNames().isEmpty(); });
}

QString CPrint::PrinterName() {
    return Trapped(m_ui, QString(), [&] {
        // With printers installed but none set as default, the first one is used rather
        // than failing on a printer without a name.
        const QStringList names = m_factory->PrinterNames();
        const QString chosen = m_factory->DefaultPrinterName();
        return names.contains(chosen) ? chosen : names.value(0);
    });
}

bool CPrint::PrintMVals(const QString& strDeviceName, const QString& strSerNo,
                        const QString& strUser, const QDateTime& mvalDate, const QString& strMVals,
                        const QString& strFileName, const RecordSelection& selection,
                        const LimitFlags& limits, const QStringList& verified) {
    const bool printed = Trapped(m_ui, false, [&] {
        return OpenPrinter() && PrintMVals(*m_opened, strDeviceName, strSerNo, strUser, mvalDate,
                                           strMVals, strFileName, selection, limits, verified);
    });
    // A printout that failed part-way is discarded, never sent later with another one.
    m_opened.reset();
    return printed;
}

bool CPrint::PrintCalProtocol() {
    const bool printed =
        Trapped(m_ui, false, [&] { return OpenPrinter() && PrintCalProtocol(*m_opened); });
    m_opened.reset();
    return printed;
}

bool CPrint::PrintMVals(LinePrinter& printer, const QString& strDeviceName, const QString& strSerNo,
                        const QString& strUser, const QDateTime& mvalDate, const QString& strMVals,
                        const QString& strFileName, const RecordSelection& selection,
                        const LimitFlags& limits, const QStringList& verified) {
    const BusyState::Hold busy(m_busy); // the printout yields per record
    const bool printed = Trapped(m_ui, false, [&] {
        const QString records = selection.Records(strMVals);
        const QString note = selection.Note();
        if (PagePainter* pages = ReportPainter(printer)) {
            std::optional<ReportContent> content =
                MValsReport(strDeviceName, strSerNo, strUser, mvalDate, records, strFileName, note,
                            limits, verified);
            return content && TableReport(*pages, std::move(*content)).Print();
        }
        return StartPrintout(printer) &&
               FitPage(strDeviceName, strSerNo, strUser, mvalDate, records, note) &&
               PrintMValsHeader(strDeviceName, strSerNo, strUser, mvalDate, note) &&
               PrintMValsTable(strDeviceName, records) && EndPrintout();
    });
    m_printer = nullptr;
    return printed;
}

bool CPrint::PrintCalProtocol(LinePrinter& printer) {
    const BusyState::Hold busy(m_busy);
    const bool printed = Trapped(m_ui, false, [&] {
        if (PagePainter* pages = ReportPainter(printer)) {
            std::optional<ReportContent> content = ProtocolReport();
            return content && TableReport(*pages, std::move(*content)).Print();
        }
        QString meter, serNo, user;
        return StartPrintout(printer) && m_calProtocol.GetProtocolHeader(meter, serNo, user) &&
               PrintProtocolHeader(meter, serNo, user) && PrintProtocolBody() && EndPrintout();
    });
    m_printer = nullptr;
    return printed;
}

bool CPrint::PrintReport(LinePrinter& printer, ReportContent content) {
    const BusyState::Hold busy(m_busy);
    return Trapped(m_ui, false, [&] {
        PagePainter* pages = printer.Pages();
        if (pages == nullptr) {
            return false;
        }
        CompleteReport(content);
        return TableReport(*pages, std::move(content)).Print();
    });
}

bool CPrint::FitMValsPage(LinePrinter& printer, const QString& strDeviceName,
                          const QString& strSerNo, const QString& strUser,
                          const QDateTime& mvalDate, const QString& strMVals,
                          const QString& strFileName, const RecordSelection& selection,
                          const LimitFlags& limits) {
    const bool fitted = Trapped(m_ui, false, [&] {
        const QString records = selection.Records(strMVals);
        const QString note = selection.Note();
        if (PagePainter* pages = ReportPainter(printer)) {
            if (!printer.MayTurnPage()) {
                return true;
            }
            std::optional<ReportContent> content =
                MValsReport(strDeviceName, strSerNo, strUser, mvalDate, records, strFileName, note,
                            limits, {}); // the signature's lines never turn the page
            if (content) {
                TableReport(*pages, std::move(*content)).Fit();
            }
            return content.has_value();
        }
        return StartPrintout(printer) &&
               FitPage(strDeviceName, strSerNo, strUser, mvalDate, records, note);
    });
    m_printer = nullptr;
    return fitted;
}

bool CPrint::OpenPrinter() {
    m_opened.reset();
    const QString name = PrinterName();
    if (!name.isEmpty()) {
        m_opened = m_factory->OpenPrinter(name);
    }
    return m_opened != nullptr;
}

bool CPrint::StartPrintout(LinePrinter& printer) {
    m_printer = &printer;
    m_printer->SetFontSize(kFontSize_pt);
    CountLinesPerPage();
    m_intLinesPrinted = 0;
    return true;
}

void CPrint::CountLinesPerPage() {
    const double lineHeight = m_printer->TextHeight(QStringLiteral("test"));
    const double lines =
        lineHeight > 0 ? std::nearbyint(m_printer->PrintableHeight() / lineHeight - kTopLines) : 0;
    if (lines < kMinLinesPerPage) {
        throw RunTimeError(RtError::TooFewPrintLines);
    }
    m_intLinesPerPage = static_cast<short>(std::min<double>(lines, SHRT_MAX));
}

bool CPrint::FitPage(const QString& strDeviceName, const QString& strSerNo, const QString& strUser,
                     const QDateTime& mvalDate, const QString& strMVals, const QString& strNote) {
    if (!m_printer->MayTurnPage()) {
        return true;
    }
    QStringList titles;
    const short count = TableConfig(strDeviceName, titles);
    if (count <= 0) {
        return false;
    }
    const double width = m_printer->PrintableWidth();
    const auto tooWide = [&](const QString& line) { return m_printer->TextWidth(line) > width; };
    QStringList lines = DatasetHeaderLines(strDeviceName, strSerNo, strUser, mvalDate, strNote);
    lines << FieldsLine(titles, count);
    bool turn = std::any_of(lines.cbegin(), lines.cend(), tooWide);
    RecordWalker walker(strMVals);
    QStringList fields;
    while (!turn && walker.Next(fields, count)) {
        turn = tooWide(FieldsLine(fields, count));
        m_ui.Yield();
    }
    if (!turn && walker.Failed()) {
        return false;
    }
    if (turn) {
        // Every column of a wide record on the page; what is wider still is cut as before.
        m_printer->TurnToLandscape();
        CountLinesPerPage();
    }
    return true;
}

short CPrint::TableConfig(const QString& strDeviceName, QStringList& titles) {
    titles = QStringList(kTableColumns);
    QList<short> widths(kTableColumns);
    QList<int> kinds(kTableColumns);
    return m_device.GetTableConfig(titles, widths, kinds, strDeviceName);
}

QString CPrint::FitToWidth(QString text) const {
    const double width = m_printer->PrintableWidth();
    if (m_printer->TextWidth(text) <= width) {
        return text;
    }
    // The longest prefix that fits, found by halving: a long record line costs a few
    // measurements instead of one per character.
    qsizetype fits = 0;
    qsizetype tooLong = text.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = (fits + tooLong) / 2;
        if (m_printer->TextWidth(text.left(middle)) <= width) {
            fits = middle;
        } else {
            tooLong = middle;
        }
    }
    text.truncate(fits);
    return text;
}

bool CPrint::PrintLine(QString text) {
    text = FitToWidth(std::move(text));
    if (m_intLinesPrinted >= m_intLinesPerPage) {
        m_printer->NewPage();
        m_intLinesPrinted = 0;
        if (!PrintTopLines()) {
            return false;
        }
    }
    m_printer->PrintLine(text);
    ++m_intLinesPrinted;
    return true;
}

bool CPrint::PrintLines(const QStringList& lines) {
    for (const QString& line : lines) {
        if (!PrintLine(line)) {
            return false;
        }
    }
    return true;
}

bool CPrint::PrintTopLines() {
    return PrintLines(QStringList(kTopLines, QString()));
}

bool CPrint::PrintMValsHeader(const QString& strDeviceName, const QString& strSerNo,
                              const QString& strUser, const QDateTime& mvalDate,
                              const QString& strNote) {
    return PrintTopLines() &&
           PrintLines(DatasetHeaderLines(strDeviceName, strSerNo, strUser, mvalDate, strNote));
}

bool CPrint::PrintMValsTable(const QString& strDeviceName, const QString& strMVals) {
    QStringList titles;
    const short count = TableConfig(strDeviceName, titles);
    if (count <= 0) {
        return false;
    }
    return PrintTitleLine(titles, count) && PrintRecordLines(strMVals, count);
}

bool CPrint::PrintTitleLine(const QStringList& strColHeaders, int intNum) {
    return PrintLine(FieldsLine(strColHeaders, intNum));
}

bool CPrint::PrintRecordLines(const QString& strMVals, int intNum) {
    RecordWalker walker(strMVals);
    QStringList fields;
    while (walker.Next(fields, intNum)) {
        if (!PrintLine(FieldsLine(fields, intNum))) {
            return false;
        }
        m_ui.Yield();
    }
    return !walker.Failed();
}

bool CPrint::PrintProtocolHeader(const QString& strMeter, const QString& strSerNo,
                                 const QString& strUser) {
    return PrintTopLines() &&
           PrintLines(ProtocolHeaderLines(m_calProtocol.IsProtocolPH(), m_clock(), strMeter,
                                          strSerNo, strUser));
}

bool CPrint::PrintProtocolBody() {
    const std::optional<QStringList> body = ProtocolBodyLines(m_calProtocol);
    return body && PrintLines(*body);
}

bool CPrint::EndPrintout() {
    // A document the printer (or the PDF file) did not take is a failed printout.
    return m_printer->EndDocument();
}

PagePainter* CPrint::ReportPainter(LinePrinter& printer) const {
    return m_options.layout == PrintLayout::Table ? printer.Pages() : nullptr;
}

std::optional<ReportContent>
CPrint::MValsReport(const QString& strDeviceName, const QString& strSerNo, const QString& strUser,
                    const QDateTime& mvalDate, const QString& strMVals, const QString& strFileName,
                    const QString& strNote, const LimitFlags& limits, const QStringList& verified) {
    QStringList titles(kTableColumns);
    QList<short> widths(kTableColumns);
    QList<int> kinds(kTableColumns);
    const short count = m_device.GetTableConfig(titles, widths, kinds, strDeviceName);
    if (count <= 0) {
        return std::nullopt;
    }
    QList<ReportColumn> columns;
    for (int i = 0; i < count; ++i) {
        columns << ReportColumn{titles[i], kinds[i] != kTextColumn};
    }
    QList<QStringList> rows;
    QList<bool> beyond;
    const RecordLayout layout = RecordLayout::ForModel(strDeviceName);
    RecordWalker walker(strMVals);
    QStringView line;
    QStringList fields(count);
    while (walker.NextLine(line)) {
        SplitRecordLine(line, fields, count);
        beyond << (limits.Beyond(line, layout) && layout.Value1() < fields.size());
        if (beyond.last()) {
            fields[layout.Value1()] += kBeyondMarker;
        }
        rows << fields;
        m_ui.Yield();
    }
    if (walker.Failed()) {
        return std::nullopt;
    }
    ReportContent content =
        DatasetReportContent(strDeviceName, strSerNo, strUser, mvalDate,
                             QFileInfo(strFileName).fileName(), columns, std::move(rows), strNote);
    if (beyond.contains(true)) {
        content.markedColumn = layout.Value1();
        content.markedRows = std::move(beyond);
        content.closing = {LoadResString(1756)};
    }
    content.verified = verified;
    CompleteReport(content);
    return content;
}

std::optional<ReportContent> CPrint::ProtocolReport() {
    std::optional<ReportContent> content = ProtocolReportContent(m_calProtocol);
    if (content) {
        CompleteReport(*content);
    }
    return content;
}

void CPrint::CompleteReport(ReportContent& content) {
    content.printedAt = m_clock();
    content.signature = m_options.signature;
    const auto setting = [&](const char* section, const char* key, const char* fallback) {
        return m_ini.Setting(QLatin1String(section), QLatin1String(key), QLatin1String(fallback));
    };
    // Settings.ini may leave the logo out of the printouts ([Print] Logo=False).
    if (setting("Print", "Logo", "True").compare(QLatin1String("False"), Qt::CaseInsensitive)) {
        content.picturePath = ProgramFile(
            QStringLiteral("Grafics/Logo_%1.gif").arg(setting("General", "Manufacturer", "0")));
    }
}
