#pragma once

// The zlib level of every part of an .xlsx workbook. libxlsxwriter always asks its zip
// writer for zlib's default level and offers no setting; the default level spent more time
// compressing a large sheet than everything else of the export together, for a file only a
// quarter smaller. WorkbookCompression.cpp hands the zip writer the fastest level instead.
namespace WorkbookCompression {

// The level the workbook's parts are written with. The workbook writer calls it, which also
// makes the linker keep the level's override in every program that exports.
int Level();

} // namespace WorkbookCompression
