#pragma once

// The value kind of a column of a meter's table layout (`CDevice::GetTableConfig`): the
// numbers are those of the layout's list and of the legacy spreadsheet's cell types.
enum ColumnKind : int { kWholeColumn = 0, kDecimalColumn = 1, kTextColumn = 2 };

// What a column of the layout holds beyond its value kind. Only the measurement's and the
// calibration's date and time columns are dates and times: a dilution "1:10" or a sample ID
// "01.02.24" in any other text column is text, whatever it looks like.
enum class ColumnContent { Plain, Date, Time };
