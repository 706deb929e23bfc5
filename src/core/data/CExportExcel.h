#pragma once

#include "app/WorkProgress.h"
#include "data/ExportSheet.h"

#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QVariant>

class CExcelFile;
class BusyState;
class CDevice;
class Ui;

// Writes the dataset of a document to a spreadsheet file: a header block with the meter,
// serial number, user, date and time, a title row, and one row per record with numeric
// fields as numbers. The caller shows the failure message.
class CExportExcel {
public:
    CExportExcel(const CDevice& device, BusyState& busy, Ui& ui)
        : m_device(device), m_busy(busy), m_ui(ui) {}

    // True when every record was written and the file was closed. An existing file is
    // replaced only by a complete export: after a failure it keeps what it held. A progress
    // that stops the export gives false without a message.
    bool SetMVals(const QString& strMVals, const QString& strMeter, const QString& strSerNo,
                  const QString& strUser, const QDateTime& curDate, const QString& strFileName);

    // The last row the format can address; record k goes to row 8 + k.
    static constexpr int kLastRow = 65536;
    static constexpr int kFirstRecordRow = 9;

    // Told how many characters of the records are written (of all of them); false stops
    // the export. Empty: the export runs to the end.
    void SetProgress(WorkProgress progress) { m_progress = std::move(progress); }
    // The header's line that says the records are a selection ("41 enregistrements sur
    // 300"), written in row 7 above the titles; empty for the whole dataset.
    void SetSelectionNote(QString note) { m_selectionNote = std::move(note); }

private:
    using Layout = ExportLayout;
    struct Cell {
        QVariant value;
        int alignment = 0;
    };
    // Fields that did not convert: the first is named, the others counted, so that a file
    // with a text in every record gives one message instead of one per record.
    struct FieldFaults {
        QString first;
        int record = 0;
        int column = 0;
        int others = 0;
    };

    bool WriteFile(CExcelFile& xls, const QString& strMVals, const QString& strMeter,
                   const QString& strSerNo, const QString& strUser, const QDateTime& curDate,
                   const QString& strFileName);
    bool WriteSheet(CExcelFile& xls, const QString& strMVals, const QString& strMeter,
                    const QString& strSerNo, const QString& strUser, const QDateTime& curDate);
    bool WriteSheetHeader(CExcelFile& xls, const Layout& layout, const QStringList& header);
    bool WriteRecords(CExcelFile& xls, const Layout& layout, const QString& strMVals);
    bool WriteRecord(CExcelFile& xls, const Layout& layout, const QStringList& fields, int row);
    // False for an empty field and for one that cannot be converted (collected).
    bool ConvertField(const QString& field, int kind, Cell& cell, int record, int column);
    void ReportFieldFaults();

    const CDevice& m_device;
    BusyState& m_busy;
    Ui& m_ui;
    WorkProgress m_progress;
    QString m_selectionNote;
    QLocale m_locale; // the number format of integer fields, taken once per export
    FieldFaults m_faults;
    bool m_stopped = false; // the progress stopped the export
};
