#pragma once

#include "data/BiffOutput.h"
#include "data/ExcelStatus.h"

#include <QString>
#include <QVariant>

// A streaming writer of the legacy binary worksheet format (BIFF2, ".xls"). Each call
// appends one record at the end of the file; the writer keeps no table of cells and
// writes nothing on its own except the BOF at creation and the EOF at closing. The
// caller keeps the order the format expects: page settings and font, column widths,
// then cells.
//
// Every operation but the two properties returns 0 or an ExcelStatus number and never
// shows a message. Rows and columns are 1-based here and 0-based in the file.
//
// The file only takes its name when it is closed (CloseFile, or the destructor), which
// replaces a previous file of that name completely. DiscardFile drops an unfinished
// file instead, so a writer that gave up never leaves a partial file looking complete.
class CExcelFile {
public:
    // ValueType of WriteValue.
    static constexpr int kInteger = 0;
    static constexpr int kNumber = 1;
    static constexpr int kText = 2;
    // Alignment attribute of a cell.
    static constexpr int kAlignGeneral = 0;
    static constexpr int kAlignLeft = 1;
    static constexpr int kAlignCentre = 2;
    static constexpr int kAlignRight = 3;
    static constexpr int kAlignFill = 4;
    // Margin: the record id of the margin.
    static constexpr int kLeftMargin = 38;
    static constexpr int kRightMargin = 39;
    static constexpr int kTopMargin = 40;
    static constexpr int kBottomMargin = 41;
    // FontFormat bits.
    static constexpr int kFontBold = 1;
    static constexpr int kFontItalic = 2;
    static constexpr int kFontUnderline = 4;
    static constexpr int kFontStrikeOut = 8;

    CExcelFile() = default;
    ~CExcelFile(); // an open file is closed as CloseFile does, EOF included
    CExcelFile(const CExcelFile&) = delete;
    CExcelFile& operator=(const CExcelFile&) = delete;

    short CreateFile(const QString& FileName);
    short CloseFile();
    // Closes without EOF and leaves the file name as it was before CreateFile.
    short DiscardFile();

    // ValueType 0: INTEGER (a negative value becomes a NUMBER cell, since the format's
    // integer cell is unsigned); 1: NUMBER; 2: LABEL; any other type writes nothing.
    short WriteValue(int ValueType, int CellFontUsed, int Alignment, int HiddenLocked, int lrow,
                     int lcol, const QVariant& value);
    short SetMargin(int Margin, double MarginValue);
    short SetColumnWidth(int FirstColumn, int LastColumn, int WidthValue);
    short SetFont(const QString& FontName, int FontHeight, int FontFormat);
    short SetHeader(const QString& HeaderText);
    short SetFooter(const QString& FooterText);
    short SetFilePassword(const QString& PasswordText);
    // CODEPAGE record: the code page of every text byte (1252 for this program).
    short SetCodePage(int CodePage);

    // Write-only properties: no status, errors ignored.
    void PrintGridLines(bool newvalue);
    void ProtectSpreadsheet(bool newvalue);

    // The file and the system's reason of the last failed create, write or close.
    const std::optional<FileFailure>& WriteFailure() const { return m_out.Failure(); }

private:
    void WriteCell(int id, int length, int CellFontUsed, int Alignment, int HiddenLocked, int lrow,
                   int lcol);
    short WriteCounted(int id, int extraLength, const QString& text);
    short WriteFlag(int id, bool value);
    short PutText(const QString& text);
    short Done(short status);

    BiffOutput m_out;
};
