#pragma once

#include "data/LinePrinter.h"
#include "data/PrintOptions.h"
#include "data/RecordSelection.h"
#include "data/ReportContent.h"
#include "qc/LimitFlags.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class BusyState;
class CCalProtocol;
class CDevice;
class CIni;
class Ui;

// Prints datasets and the held calibration protocol, as a table report (see TableReport)
// on a printer that paints pages, or, with the list layout or on a printer that only
// prints lines, as plain text lines, 11 pt, a new page when the page is full: on the default
// printer (the first installed one when no default is set), or on a printer the caller opened (a
// print dialog's choice, a preview, a PDF file). The printers come from a factory: the desktop and
// the command line put theirs in; without one no printer exists.
class CPrint {
public:
    CPrint(Ui& ui, BusyState& busy, const CDevice& device, CCalProtocol& calProtocol, CIni& ini);
    ~CPrint();
    CPrint(const CPrint&) = delete;
    CPrint& operator=(const CPrint&) = delete;

    void SetPrinterFactory(std::unique_ptr<LinePrinterFactory> factory);
    // The clock of the protocol printout's date line.
    void SetClock(std::function<QDateTime()> clock);
    void SetOptions(const PrintOptions& options) { m_options = options; }
    const PrintOptions& Options() const { return m_options; }

    bool PrinterAvailable();
    // The printer the printouts go to: the default printer, or the first installed one
    // when no default is set; empty when there is none.
    QString PrinterName();
    // strFileName: the dataset's file, named in the table report's header when not empty.
    // selection: the records printed, in their order; a selection is named in the header.
    // verified: who verified the records, in the table report's signature block.
    bool PrintMVals(const QString& strDeviceName, const QString& strSerNo, const QString& strUser,
                    const QDateTime& mvalDate, const QString& strMVals,
                    const QString& strFileName = QString(), const RecordSelection& selection = {},
                    const LimitFlags& limits = LimitFlags(), const QStringList& verified = {});
    // False when the protocol object holds no protocol.
    bool PrintCalProtocol();

    // The same printouts on `printer`, which the caller opened and discards on failure.
    // A page left to the printout is turned as PrintMVals turns it.
    // The table report prints a first value beyond the `limits` of its program in bold with
    // a marker, and says under the rows what the marker means.
    bool PrintMVals(LinePrinter& printer, const QString& strDeviceName, const QString& strSerNo,
                    const QString& strUser, const QDateTime& mvalDate, const QString& strMVals,
                    const QString& strFileName = QString(), const RecordSelection& selection = {},
                    const LimitFlags& limits = LimitFlags(), const QStringList& verified = {});
    bool PrintCalProtocol(LinePrinter& printer);
    // A window's own table report (quality control's) on `printer`, with the time of
    // printing, the logo and the signature choice of the other printouts; false on a
    // printer that paints no pages.
    bool PrintReport(LinePrinter& printer, ReportContent content);
    // Turns the page of `printer` to landscape when the dataset printout needs it (a line
    // of the list, or the table report's columns, wider than the portrait page) and the
    // page may still turn (what PrintMVals does first). False when the dataset cannot be
    // laid out.
    bool FitMValsPage(LinePrinter& printer, const QString& strDeviceName, const QString& strSerNo,
                      const QString& strUser, const QDateTime& mvalDate, const QString& strMVals,
                      const QString& strFileName = QString(), const RecordSelection& selection = {},
                      const LimitFlags& limits = LimitFlags());

private:
    // Opens the printer the printouts go to; false when it cannot be started.
    bool OpenPrinter();
    bool StartPrintout(LinePrinter& printer);
    bool FitPage(const QString& strDeviceName, const QString& strSerNo, const QString& strUser,
                 const QDateTime& mvalDate, const QString& strMVals, const QString& strNote);
    void CountLinesPerPage();
    short TableConfig(const QString& strDeviceName, QStringList& titles);
    bool PrintLine(QString text);
    bool PrintLines(const QStringList& lines);
    bool PrintTopLines();
    bool PrintMValsHeader(const QString& strDeviceName, const QString& strSerNo,
                          const QString& strUser, const QDateTime& mvalDate,
                          const QString& strNote);
    bool PrintMValsTable(const QString& strDeviceName, const QString& strMVals);
    bool PrintTitleLine(const QStringList& strColHeaders, int intNum);
    bool PrintRecordLines(const QString& strMVals, int intNum);
    bool PrintProtocolHeader(const QString& strMeter, const QString& strSerNo,
                             const QString& strUser);
    bool PrintProtocolBody();
    bool EndPrintout();
    // The page painter of `printer` when the printout is a table report.
    PagePainter* ReportPainter(LinePrinter& printer) const;
    std::optional<ReportContent> MValsReport(const QString& strDeviceName, const QString& strSerNo,
                                             const QString& strUser, const QDateTime& mvalDate,
                                             const QString& strMVals, const QString& strFileName,
                                             const QString& strNote, const LimitFlags& limits,
                                             const QStringList& verified);
    std::optional<ReportContent> ProtocolReport();
    // The time of printing, the picture and the signature choice.
    void CompleteReport(ReportContent& content);
    QString FitToWidth(QString text) const;

    Ui& m_ui;
    BusyState& m_busy;
    const CDevice& m_device;
    CCalProtocol& m_calProtocol;
    CIni& m_ini;
    std::unique_ptr<LinePrinterFactory> m_factory;
    std::unique_ptr<LinePrinter> m_opened; // the printer OpenPrinter started
    LinePrinter* m_printer = nullptr;      // the printer of the printout in progress
    std::function<QDateTime()> m_clock;
    short m_intLinesPrinted = 0;
    short m_intLinesPerPage = 0;
    PrintOptions m_options;
};
