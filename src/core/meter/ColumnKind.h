#pragma once

// The value kind of a column of a meter's table layout (`CDevice::GetTableConfig`): the
// numbers are those of the layout's list and of the legacy spreadsheet's cell types.
enum ColumnKind : int { kWholeColumn = 0, kDecimalColumn = 1, kTextColumn = 2 };
