#pragma once

// Status numbers of the spreadsheet writer: 0 for success, otherwise the number of the
// run-time error that stopped the operation, so callers that compare against these
// classic numbers keep working.
namespace ExcelStatus {

constexpr short kOk = 0;
constexpr short kAlreadyOpen = -1;      // CreateFile while a file is open
constexpr short kInvalidArgument = 5;   // a margin code that names no margin
constexpr short kOverflow = 6;          // a value or text does not fit its field
constexpr short kTypeMismatch = 13;     // a cell value that is not a number
constexpr short kNoFile = 52;           // "bad file name or number": nothing is open
constexpr short kDeviceIO = 57;         // the system refused to write
constexpr short kDiskFull = 61;         // no space left
constexpr short kPermissionDenied = 70; // the file or its folder is not writable
constexpr short kPathFileAccess = 75;   // the file cannot be created for another reason
constexpr short kPathNotFound = 76;     // the folder does not exist

} // namespace ExcelStatus
