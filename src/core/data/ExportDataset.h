#pragma once

#include "app/WorkProgress.h"
#include "data/RecordSelection.h"
#include "qc/LimitFlags.h"

#include <QString>

class CExportExcel;
class CExportXlsx;
struct MValSet;

// The spreadsheet types the program writes.
enum class ExportType {
    Xlsx, // Office Open XML workbook
    Xls,  // the legacy worksheet format
};

// The type a file name asks for: ".xlsx" (any case) gives the workbook, every other name
// the legacy worksheet, as before the workbook type existed.
ExportType ExportTypeFor(const QString& path);

// Writes the dataset to `path` with the writer of ExportTypeFor(path); true on success.
// The caller shows the failure message. `progress` is told how far the records are written;
// when it answers false the export stops (false, nothing reported, the target as it was).
// A selection writes only its records, in its order, and says so above the titles.
// The workbook (.xlsx) fills a first value beyond the `limits` of its program; the legacy
// worksheet leaves it as it is.
bool ExportDataset(CExportExcel& xls, CExportXlsx& xlsx, const MValSet& set, const QString& path,
                   const WorkProgress& progress = {}, const RecordSelection& selection = {},
                   const LimitFlags& limits = LimitFlags());
