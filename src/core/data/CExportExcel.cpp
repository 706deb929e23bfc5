#include "data/CExportExcel.h"

#include "app/BusyState.h"
#include "app/ErrorTrap.h"
#include "app/NumberText.h"
#include "app/RunTimeErrors.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "app/Windows1252.h"
#include "data/CExcelFile.h"
#include "data/RecordWalker.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace {

constexpr int kCodePage = 1252;
constexpr double kMargin = 1.5;
constexpr int kFontHeight = 10;
constexpr int kColumnWidth = 10;

// Characters the file's code page lacks become "?", as in every other file the program
// writes; the writer would otherwise stop the cell half-way.
QString InCodePage(const QString& text) {
    for (const QChar ch : text) {
        if (ch.unicode() >= 0x80 && Windows1252::EncodeChar(ch.unicode()) < 0) {
            return Windows1252::Decode(Windows1252::Encode(text));
        }
    }
    return text;
}

short WriteLabel(CExcelFile& xls, int row, int col, const QString& text) {
    return xls.WriteValue(CExcelFile::kText, 0, CExcelFile::kAlignLeft, 0, row, col,
                          InCodePage(text));
}

// Plain digits read the same in every locale and need none of its (slower) rules.
std::optional<double> PlainDigits(const QString& field) {
    constexpr qsizetype kMaxDigits = 9;
    if (field.isEmpty() || field.size() > kMaxDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (const QChar ch : field) {
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9')) {
            return std::nullopt;
        }
        value = value * 10 + (ch.unicode() - '0');
    }
    return value;
}

// A plain decimal ("-12.34") has the same value as its leading number, and reads far
// faster without the leading-number rules (blanks, exponents, "&H" prefixes).
std::optional<double> PlainDecimal(const QString& field) {
    constexpr qsizetype kMaxChars = 32;
    if (field.isEmpty() || field.size() > kMaxChars) {
        return std::nullopt;
    }
    char ascii[kMaxChars];
    bool dot = false;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char16_t ch = field[i].unicode();
        const bool digit = ch >= '0' && ch <= '9';
        const bool sign = ch == '-' && i == 0;
        const bool firstDot = ch == '.' && !dot && i > 0 && field[i - 1].isDigit();
        if (!digit && !sign && !firstDot) {
            return std::nullopt;
        }
        dot = dot || firstDot;
        ascii[i] = static_cast<char>(ch);
    }
    double value = 0;
    const char* end = ascii + field.size();
    const auto [ptr, error] = std::from_chars(ascii, end, value);
    if (error != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

double LocaleNumber(const QString& field, const QLocale& locale) {
    if (const std::optional<double> plain = PlainDigits(field)) {
        return *plain;
    }
    bool ok = false;
    const double number = locale.toDouble(field.trimmed(), &ok);
    if (!ok) {
        throw RunTimeError(RtError::TypeMismatch, QStringLiteral("\"%1\"").arg(field));
    }
    return number;
}

int WholeFieldValue(const QString& field, const QLocale& locale) {
    const double whole = std::nearbyint(LocaleNumber(field, locale)); // half to even
    if (!(whole >= -32768 && whole <= 32767)) {
        throw RunTimeError(RtError::Overflow, field);
    }
    return static_cast<int>(whole);
}

} // namespace

bool CExportExcel::SetMVals(const QString& strMVals, const QString& strMeter,
                            const QString& strSerNo, const QString& strUser,
                            const QDateTime& curDate, const QString& strFileName) {
    const BusyState::Hold busy(m_busy); // the export yields per record
    m_locale = QLocale();
    m_faults = FieldFaults();
    m_stopped = false;
    CExcelFile xls;
    const bool written = Trapped(m_ui, false, [&] {
        if (!WriteFile(xls, strMVals, strMeter, strSerNo, strUser, curDate, strFileName)) {
            if (xls.WriteFailure()) {
                throw *xls.WriteFailure();
            }
            return false;
        }
        return true;
    });
    if (!m_stopped) {
        ReportFieldFaults(); // a stopped export is the user's choice: nothing to tell
    }
    if (!written) {
        // A file that stopped half-way would look complete once closed with its EOF.
        xls.DiscardFile();
    }
    return written;
}

bool CExportExcel::WriteFile(CExcelFile& xls, const QString& strMVals, const QString& strMeter,
                             const QString& strSerNo, const QString& strUser,
                             const QDateTime& curDate, const QString& strFileName) {
    if (xls.CreateFile(strFileName) != ExcelStatus::kOk ||
        xls.SetCodePage(kCodePage) != ExcelStatus::kOk) {
        return false;
    }
    xls.PrintGridLines(false);
    for (const int margin : {CExcelFile::kTopMargin, CExcelFile::kLeftMargin,
                             CExcelFile::kRightMargin, CExcelFile::kBottomMargin}) {
        if (xls.SetMargin(margin, kMargin) != ExcelStatus::kOk) {
            return false;
        }
    }
    if (xls.SetFont(QStringLiteral("Arial"), kFontHeight, 0) != ExcelStatus::kOk) {
        return false;
    }
    if (!WriteSheet(xls, strMVals, strMeter, strSerNo, strUser, curDate)) {
        return false;
    }
    return xls.CloseFile() == ExcelStatus::kOk;
}

bool CExportExcel::WriteSheet(CExcelFile& xls, const QString& strMVals, const QString& strMeter,
                              const QString& strSerNo, const QString& strUser,
                              const QDateTime& curDate) {
    const Layout layout = ExportLayoutFor(m_device, strMeter);
    if (layout.count == 0) {
        return false;
    }
    const QStringList header =
        ExportHeaderLines(strMeter, strSerNo, strUser, curDate, m_selectionNote);
    return WriteSheetHeader(xls, layout, header) && WriteRecords(xls, layout, strMVals);
}

bool CExportExcel::WriteSheetHeader(CExcelFile& xls, const Layout& layout,
                                    const QStringList& header) {
    if (xls.SetColumnWidth(1, layout.count, kColumnWidth) != ExcelStatus::kOk) {
        return false;
    }
    for (int i = 0; i < header.size(); ++i) {
        if (WriteLabel(xls, kExportHeaderRow + i, 1, header[i]) != ExcelStatus::kOk) {
            return false;
        }
    }
    for (int c = 0; c < layout.count; ++c) {
        if (WriteLabel(xls, kExportTitleRow, c + 1, layout.titles[c]) != ExcelStatus::kOk) {
            return false;
        }
    }
    return true;
}

bool CExportExcel::WriteRecords(CExcelFile& xls, const Layout& layout, const QString& strMVals) {
    if (layout.count > kExportMaxColumns) {
        return false;
    }
    RecordWalker walker(strMVals);
    ProgressSteps steps(m_progress, strMVals.size());
    QStringList fields;
    int row = kFirstRecordRow;
    while (walker.Next(fields, layout.count)) {
        // Row numbers past the last one would wrap onto the header and earlier records.
        if (row > kLastRow) {
            throw MervexError(
                RunTimeText(RtError::TooManyRecords).arg(kLastRow - kFirstRecordRow + 1));
        }
        if (!WriteRecord(xls, layout, fields, row)) {
            return false;
        }
        ++row;
        m_ui.Yield();
        if (!steps.At(walker.Position())) {
            m_stopped = true;
            return false;
        }
    }
    if (walker.Failed()) {
        return false;
    }
    m_stopped = !steps.End();
    return !m_stopped;
}

bool CExportExcel::WriteRecord(CExcelFile& xls, const Layout& layout, const QStringList& fields,
                               int row) {
    if (fields.size() < layout.count) {
        return false;
    }
    Cell cell;
    for (int c = 0; c < layout.count; ++c) {
        const int kind = layout.record.Kind(c);
        if (ConvertField(fields[c], kind, cell, row - kFirstRecordRow + 1, c + 1) &&
            xls.WriteValue(kind, 0, cell.alignment, 0, row, c + 1, cell.value) !=
                ExcelStatus::kOk) {
            return false;
        }
    }
    return true;
}

void CExportExcel::ReportFieldFaults() {
    if (m_faults.first.isEmpty()) {
        return;
    }
    QString text =
        LoadResString(1400).arg(m_faults.record).arg(m_faults.column).arg(m_faults.first);
    if (m_faults.others > 0) {
        text += QLatin1Char(' ') + LoadResString(1401).arg(m_faults.others);
    }
    ReportError(m_ui, text);
}

bool CExportExcel::ConvertField(const QString& field, int kind, Cell& cell, int record,
                                int column) {
    if (field.isEmpty()) {
        return false;
    }
    try {
        switch (kind) {
        case CExcelFile::kInteger:
            cell.value = WholeFieldValue(field, m_locale);
            cell.alignment = CExcelFile::kAlignRight;
            break;
        case CExcelFile::kNumber: {
            const std::optional<double> plain = PlainDecimal(field);
            cell.value = plain ? *plain : LeadingNumber(field);
        }
            cell.alignment = CExcelFile::kAlignRight;
            break;
        default:
            cell.value = InCodePage(field);
            cell.alignment = CExcelFile::kAlignLeft;
            break;
        }
        return true;
    } catch (...) {
        if (m_faults.first.isEmpty()) {
            m_faults = {DescribeCurrentException(), record, column, 0};
        } else {
            ++m_faults.others;
        }
        return false;
    }
}
