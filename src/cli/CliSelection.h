#pragma once

#include "data/RecordFilter.h"
#include "data/RecordSelection.h"

#include <QStringList>

class CDevice;
struct MValSet;

// The record options of the printing and exporting commands, the criteria of the
// document's filter bar: `--program N` (a turbidimeter's unit), `--from YYYY-MM-DD`,
// `--to YYYY-MM-DD` (the records' dates, both included) and `--id TEXT` (found in the sample
// ID, whatever the letter case). Takes them out of `args` (anywhere among them); false on a
// bad or repeated option.
bool TakeRecordOptions(QStringList& args, RecordFilter& filter);

// The records of `set` that `filter` keeps; the whole dataset without criteria.
RecordSelection SelectedRecords(const CDevice& device, const MValSet& set,
                                const RecordFilter& filter);
