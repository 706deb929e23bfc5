#pragma once

#include "app/WorkProgress.h"
#include "qc/LimitFlags.h"

#include <QDateTime>
#include <QString>

class CDevice;
class Ui;

// Writes the dataset of a document to an Office Open XML workbook (.xlsx): the same sheet
// as CExportExcel (header block, column titles, one row per record in the layout's column
// order), without the legacy format's compromises: numbers are number cells, record dates
// and times are date/time cells, a field that is no number stays text, the title row is
// bold, the rows above the records stay in view, column widths fit their contents and the
// sheet holds up to the format's 1 048 576 rows. The caller shows the failure message.
class CExportXlsx {
public:
    CExportXlsx(const CDevice& device, Ui& ui) : m_device(device), m_ui(ui) {}

    // True when every record was written and the file was complete. The workbook takes
    // the target's place only when complete: after a failure the target keeps what it held.
    // A progress that stops the export gives false without a message.
    bool SetMVals(const QString& strMVals, const QString& strMeter, const QString& strSerNo,
                  const QString& strUser, const QDateTime& curDate, const QString& strFileName);

    // Rows of the format, numbered from 1; record k goes to row 8 + k.
    static constexpr int kLastRow = 1048576;

    // Told how many characters of the records are written (of all of them); false stops
    // the export. Empty: the export runs to the end.
    void SetProgress(WorkProgress progress) { m_progress = std::move(progress); }
    // The header's line that says the records are a selection ("41 enregistrements sur
    // 300"), written in row 7 above the titles; empty for the whole dataset.
    void SetSelectionNote(QString note) { m_selectionNote = std::move(note); }
    // The limit values of the records' programs: a first value beyond them gets the fill the
    // tables colour it with. None: no value is marked.
    void SetLimits(LimitFlags limits) { m_limits = std::move(limits); }

private:
    const CDevice& m_device;
    Ui& m_ui;
    WorkProgress m_progress;
    QString m_selectionNote;
    LimitFlags m_limits;
};
