#pragma once

#include "data/LinePrinter.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class Services;

// Prints datasets and the held calibration protocol on the default printer as plain
// text lines, 11 pt, a new page when the page is full. The printers come from a factory:
// the desktop and the command line put theirs in; without one no printer exists.
class CPrint {
public:
    explicit CPrint(Services& services);
    ~CPrint();
    CPrint(const CPrint&) = delete;
    CPrint& operator=(const CPrint&) = delete;

    void SetPrinterFactory(std::unique_ptr<LinePrinterFactory> factory);
    // The clock of the protocol printout's date line.
    void SetClock(std::function<QDateTime()> clock);

    bool PrinterAvailable();
    QString PrinterName();
    bool PrintMVals(const QString& strDeviceName, const QString& strSerNo, const QString& strUser,
                    const QDateTime& mvalDate, const QString& strMVals);
    // False when the protocol object holds no protocol.
    bool PrintCalProtocol();

private:
    bool StartPrintout();
    bool PrintLine(QString text);
    bool PrintLines(const QStringList& lines);
    bool PrintTopLines();
    bool PrintMValsHeader(const QString& strDeviceName, const QString& strSerNo,
                          const QString& strUser, const QDateTime& mvalDate);
    bool PrintMValsTable(const QString& strDeviceName, const QString& strMVals);
    bool PrintTitleLine(const QStringList& strColHeaders, int intNum);
    bool PrintRecordLines(const QString& strMVals, int intNum);
    bool PrintProtocolHeader(const QString& strMeter, const QString& strSerNo,
                             const QString& strUser);
    bool PrintProtocolBody();
    bool EndPrintout();
    QString FitToWidth(QString text) const;

    Services& m_services;
    std::unique_ptr<LinePrinterFactory> m_factory;
    std::unique_ptr<LinePrinter> m_printer;
    std::function<QDateTime()> m_clock;
    short m_intLinesPrinted = 0;
    short m_intLinesPerPage = 0;
};
