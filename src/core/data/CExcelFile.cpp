#include "data/CExcelFile.h"

#include "app/Windows1252.h"

#include <cmath>
#include <optional>

using namespace ExcelStatus;

namespace {

// Record ids of the format.
constexpr int kBof = 0x0009;
constexpr int kEof = 0x000A;
constexpr int kIntegerCell = 0x0002;
constexpr int kNumberCell = 0x0003;
constexpr int kLabelCell = 0x0004;
constexpr int kProtect = 0x0012;
constexpr int kHeader = 0x0014;
constexpr int kFooter = 0x0015;
constexpr int kColWidth = 0x0024;
constexpr int kPrintGridLines = 0x002B;
constexpr int kFilePass = 0x002F;
constexpr int kFont = 0x0031;
constexpr int kCodePage = 0x0042;

constexpr int kBiffVersion = 2;
// "Worksheet": readers other than the most lenient refuse any other document type.
constexpr int kWorksheet = 0x0010;
constexpr int kMaxCountedText = 255;
constexpr int kMaxRecordData = 0xFFFF;
// The file holds 65536 rows and columns; 0 is accepted and wraps to the last one.
constexpr int kMaxIndex = 65536;

bool Fits(double value, double low, double high) {
    return value >= low && value <= high;
}

// A 1-based row or column as the 16-bit word of the file: above 32767 it is first reduced
// by 65536, then 1 is subtracted, so 1..65536 give 0..65535 and 0 gives 0xFFFF.
int FileIndex(int oneBased) {
    return (oneBased > 32767 ? oneBased - 65536 : oneBased) - 1;
}

std::optional<double> NumberOf(const QVariant& value) {
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok ? std::optional<double>(number) : std::nullopt;
}

} // namespace

CExcelFile::~CExcelFile() {
    if (m_out.IsOpen()) {
        CloseFile();
    }
}

short CExcelFile::CreateFile(const QString& FileName) {
    if (m_out.IsOpen()) {
        return kAlreadyOpen;
    }
    const short status = m_out.Open(FileName);
    if (status != kOk) {
        return status;
    }
    m_out.Word(kBof);
    m_out.Word(4);
    m_out.Word(kBiffVersion);
    m_out.Word(kWorksheet);
    return Done(kOk);
}

short CExcelFile::CloseFile() {
    if (!m_out.IsOpen()) {
        return kNoFile;
    }
    m_out.Word(kEof);
    m_out.Word(0);
    return m_out.Commit();
}

short CExcelFile::DiscardFile() {
    if (!m_out.IsOpen()) {
        return kNoFile;
    }
    m_out.Discard();
    return kOk;
}

short CExcelFile::WriteValue(int ValueType, int CellFontUsed, int Alignment, int HiddenLocked,
                             int lrow, int lcol, const QVariant& value) {
    if (!m_out.IsOpen()) {
        return kNoFile;
    }
    if (!Fits(lrow, 0, kMaxIndex) || !Fits(lcol, 0, kMaxIndex) || !Fits(CellFontUsed, 0, 255) ||
        !Fits(Alignment, 0, 255) || !Fits(HiddenLocked, 0, 255)) {
        return kOverflow;
    }
    const auto cell = [&](int id, int length) {
        return WriteCell(id, length, CellFontUsed, Alignment, HiddenLocked, lrow, lcol);
    };
    switch (ValueType) {
    case kInteger: {
        const std::optional<double> number = NumberOf(value);
        if (!number) {
            return kTypeMismatch;
        }
        const double whole = std::nearbyint(*number); // half to even
        if (!Fits(whole, -32768, 32767)) {
            return kOverflow;
        }
        if (whole < 0) {
            cell(kNumberCell, 15);
            m_out.Double(whole);
        } else {
            cell(kIntegerCell, 9);
            m_out.Word(static_cast<int>(whole));
        }
        return Done(kOk);
    }
    case kNumber: {
        const std::optional<double> number = NumberOf(value);
        if (!number) {
            return kTypeMismatch;
        }
        cell(kNumberCell, 15);
        m_out.Double(*number);
        return Done(kOk);
    }
    case kText: {
        const QString text = value.toString();
        if (text.size() > kMaxCountedText) {
            return kOverflow;
        }
        cell(kLabelCell, 8 + static_cast<int>(text.size()));
        m_out.Byte(static_cast<int>(text.size()));
        return Done(PutText(text));
    }
    default:
        return kOk;
    }
}

void CExcelFile::WriteCell(int id, int length, int CellFontUsed, int Alignment, int HiddenLocked,
                           int lrow, int lcol) {
    m_out.Word(id);
    m_out.Word(length);
    m_out.Word(FileIndex(lrow));
    m_out.Word(FileIndex(lcol));
    m_out.Byte(HiddenLocked);
    m_out.Byte(CellFontUsed);
    m_out.Byte(Alignment);
}

short CExcelFile::SetMargin(int Margin, double MarginValue) {
    if (!m_out.IsOpen()) {
        return kNoFile;
    }
    if (!Fits(Margin, kLeftMargin, kBottomMargin)) {
        return kInvalidArgument;
    }
    m_out.Word(Margin);
    m_out.Word(8);
    m_out.Double(MarginValue);
    return Done(kOk);
}

short CExcelFile::SetColumnWidth(int FirstColumn, int LastColumn, int WidthValue) {
    if (!m_out.IsOpen()) {
        return kNoFile;
    }
    if (!Fits(FirstColumn, 1, 256) || !Fits(LastColumn, 1, 256) || !Fits(WidthValue, -128, 127)) {
        return kOverflow;
    }
    m_out.Word(kColWidth);
    m_out.Word(4);
    m_out.Byte(FirstColumn - 1);
    m_out.Byte(LastColumn - 1);
    m_out.Word(WidthValue * 256);
    return Done(kOk);
}

short CExcelFile::SetFont(const QString& FontName, int FontHeight, int FontFormat) {
    if (!m_out.IsOpen()) {
        return kNoFile;
    }
    const double twentieths = FontHeight * 20.0;
    if (!Fits(twentieths, -32768, 32767) || !Fits(FontFormat, 0, 255) ||
        FontName.size() > kMaxCountedText) {
        return kOverflow;
    }
    m_out.Word(kFont);
    m_out.Word(5 + static_cast<int>(FontName.size()));
    m_out.Word(static_cast<int>(twentieths));
    m_out.Byte(FontFormat);
    m_out.Byte(0);
    m_out.Byte(static_cast<int>(FontName.size()));
    return Done(PutText(FontName));
}

short CExcelFile::SetHeader(const QString& HeaderText) {
    return WriteCounted(kHeader, 1, HeaderText);
}

short CExcelFile::SetFooter(const QString& FooterText) {
    return WriteCounted(kFooter, 1, FooterText);
}

short CExcelFile::WriteCounted(int id, int extraLength, const QString& text) {
    if (!m_out.IsOpen()) {
        return kNoFile;
    }
    if (text.size() > kMaxCountedText) {
        return kOverflow;
    }
    m_out.Word(id);
    m_out.Word(extraLength + static_cast<int>(text.size()));
    m_out.Byte(static_cast<int>(text.size()));
    return Done(PutText(text));
}

short CExcelFile::SetFilePassword(const QString& PasswordText) {
    if (!m_out.IsOpen()) {
        return kNoFile;
    }
    // No length byte and no 255 limit; only the record's own length word bounds it.
    if (PasswordText.size() > kMaxRecordData) {
        return kOverflow;
    }
    m_out.Word(kFilePass);
    m_out.Word(static_cast<int>(PasswordText.size()));
    return Done(PutText(PasswordText));
}

short CExcelFile::SetCodePage(int CodePage) {
    if (!m_out.IsOpen()) {
        return kNoFile;
    }
    if (!Fits(CodePage, 0, 0xFFFF)) {
        return kOverflow;
    }
    m_out.Word(kCodePage);
    m_out.Word(2);
    m_out.Word(CodePage);
    return Done(kOk);
}

void CExcelFile::PrintGridLines(bool newvalue) {
    WriteFlag(kPrintGridLines, newvalue);
}

void CExcelFile::ProtectSpreadsheet(bool newvalue) {
    WriteFlag(kProtect, newvalue);
}

short CExcelFile::WriteFlag(int id, bool value) {
    if (!m_out.IsOpen()) {
        return kNoFile;
    }
    m_out.Word(id);
    m_out.Word(2);
    m_out.Word(value ? 1 : 0);
    return Done(kOk);
}

// One byte per character; a character the code page lacks stops the record there, and
// the bytes before it stay in the file.
short CExcelFile::PutText(const QString& text) {
    for (const QChar ch : text) {
        const int code = Windows1252::EncodeChar(ch.unicode());
        if (code < 0) {
            return kOverflow;
        }
        m_out.Byte(code);
    }
    return kOk;
}

short CExcelFile::Done(short status) {
    const short written = m_out.Settle();
    return status != kOk ? status : written;
}
