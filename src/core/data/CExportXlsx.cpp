#include "data/CExportXlsx.h"

#include "app/ErrorTrap.h"
#include "app/RunTimeErrors.h"
#include "app/SafeSaveFile.h"
#include "app/Ui.h"
#include "data/ExportSheet.h"
#include "data/RecordDateTime.h"
#include "data/RecordWalker.h"
#include "data/SheetNumber.h"
#include "data/WorkbookCompression.h"
#include "meter/CDevice.h"
#include "meter/ColumnKind.h"

#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <xlsxwriter.h>

namespace {

constexpr double kMinWidth = 6;
constexpr double kMaxWidth = 60;
// Excel's serial day 0 is 30 December 1899 (the 1900 leap-year slip included).
const QDate kSerialEpoch(1899, 12, 30);
constexpr double kSecondsPerDay = 86400.0;
// A value beyond its program's limits: the pale red the program's tables show it in.
constexpr lxw_color_t kBeyondFill = 0xFFC8C8;

bool IsFileError(lxw_error error) {
    return error >= LXW_ERROR_CREATING_XLSX_FILE && error <= LXW_ERROR_ZIP_CLOSE;
}

// A failure of the library names the target; one of its files, the system's reason.
void CheckFor(lxw_error error, const QString& target) {
    if (error == LXW_NO_ERROR) {
        return;
    }
    const int reason = errno;
    if (IsFileError(error)) {
        throw SystemFileError(target, reason != 0 ? reason : EIO);
    }
    throw MervexError(QStringLiteral("%1: %2").arg(target, QString::fromUtf8(lxw_strerror(error))));
}

// The workbook being written; libxlsxwriter builds the file when it is closed.
class Workbook {
public:
    // The workbook is built in `path` and reported as `target`.
    Workbook(const QString& path, const QString& target)
        : m_path(QFile::encodeName(path)), m_target(target) {
        lxw_workbook_options options{};
        // Rows go to a temporary file as they are written, so memory stays flat for any
        // number of records (rows must then be written top to bottom, as we do).
        options.constant_memory = LXW_TRUE;
        static_cast<void>(WorkbookCompression::Level());
        errno = 0;
        m_book = workbook_new_opt(m_path.constData(), &options);
        if (m_book == nullptr) {
            throw SystemFileError(target, errno != 0 ? errno : EIO);
        }
        m_sheet = workbook_add_worksheet(m_book, nullptr);
        if (m_sheet == nullptr) {
            throw RunTimeError(RtError::OutOfMemory);
        }
        title = workbook_add_format(m_book);
        format_set_bold(title);
        date = workbook_add_format(m_book);
        format_set_num_format(date, "dd.mm.yyyy");
        time = workbook_add_format(m_book);
        format_set_num_format(time, "hh:mm:ss");
        shortTime = workbook_add_format(m_book);
        format_set_num_format(shortTime, "hh:mm");
        beyondText = workbook_add_format(m_book);
        SetBeyond(beyondText);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;
    ~Workbook() {
        if (m_book != nullptr) {
            // Freed without building the file, which takes long for many records (the caller
            // discards the file); the rows' temporary file is not closed by the library then.
            if (m_sheet != nullptr && m_sheet->optimize_tmpfile != nullptr) {
                std::fclose(m_sheet->optimize_tmpfile);
                m_sheet->optimize_tmpfile = nullptr;
            }
            lxw_workbook_free(m_book);
        }
    }

    lxw_worksheet* sheet() const { return m_sheet; }

    // The number format that shows a number as it was sent; one per kind of number in the
    // workbook, made when first needed.
    // `beyond`: the value lies beyond its program's limits and shows it (SetBeyond).
    lxw_format* NumberFormat(const SheetNumber& number, bool beyond) {
        lxw_format*& format =
            (number.exponent ? m_scientific : m_fixed)[size_t(beyond)][size_t(number.decimals)];
        if (format == nullptr) {
            format = workbook_add_format(m_book);
            if (format == nullptr) {
                throw RunTimeError(RtError::OutOfMemory);
            }
            format_set_num_format(format, NumberFormatText(number).c_str());
            if (beyond) {
                SetBeyond(format);
            }
        }
        return format;
    }

    void Check(lxw_error error) const { CheckFor(error, m_target); }

    void Close() {
        lxw_workbook* book = std::exchange(m_book, nullptr);
        errno = 0;
        Check(workbook_close(book));
    }

    lxw_format* title = nullptr;
    lxw_format* date = nullptr;
    lxw_format* time = nullptr;
    lxw_format* shortTime = nullptr;
    lxw_format* beyondText = nullptr;

private:
    // The fill the program's tables give a value beyond its limits.
    static void SetBeyond(lxw_format* format) {
        if (format == nullptr) {
            throw RunTimeError(RtError::OutOfMemory);
        }
        format_set_pattern(format, LXW_PATTERN_SOLID);
        format_set_bg_color(format, kBeyondFill);
    }

    // "0.00" for two decimals; a number sent with an exponent keeps it ("0.00E+0").
    static std::string NumberFormatText(const SheetNumber& number) {
        std::string text = "0";
        if (number.decimals > 0) {
            text += '.' + std::string(size_t(number.decimals), '0');
        }
        return number.exponent ? text + "E+0" : text;
    }

    QByteArray m_path;
    QString m_target;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    // By "beyond the limits", then by decimals.
    std::array<std::array<lxw_format*, kMaxSheetDecimals + 1>, 2> m_fixed{};
    std::array<std::array<lxw_format*, kMaxSheetDecimals + 1>, 2> m_scientific{};
};

// Writes the cells of the sheet and keeps the widest content of every column.
class SheetWriter {
public:
    SheetWriter(Workbook& book, const ExportLayout& layout)
        : m_book(book), m_layout(layout), m_widths(layout.count, kMinWidth) {}

    void Text(int row, int col, QStringView text, lxw_format* format = nullptr) {
        m_book.Check(
            worksheet_write_string(m_book.sheet(), Row(row), Col(col), Utf8(text), format));
    }

    // `beyond`: a value beyond its program's limits, filled as the tables colour it.
    void Field(int row, int col, QStringView field, bool beyond = false) {
        if (field.isEmpty()) {
            return; // an empty field gives no cell, as in the legacy export
        }
        if (!Typed(row, col, field, beyond)) {
            Text(row, col, field, beyond ? m_book.beyondText : nullptr);
            Fit(col, field.size());
        }
    }

    void Title(int col, const QString& text) {
        Text(kExportTitleRow, col, text, m_book.title);
        Fit(col, text.size() + 1); // bold is wider
    }

    void ApplyWidths() {
        for (int c = 0; c < m_layout.count; ++c) {
            m_book.Check(worksheet_set_column(m_book.sheet(), lxw_col_t(c), lxw_col_t(c),
                                              m_widths[c], nullptr));
        }
    }

private:
    // Writes the field as the number, date or time its column holds, a number shown with the
    // decimals it was sent with; false leaves it text.
    bool Typed(int row, int col, QStringView field, bool beyond) {
        const int kind = m_layout.record.Kind(col - 1);
        if (kind == kWholeColumn || kind == kDecimalColumn) {
            const std::optional<SheetNumber> number = SheetNumberOf(field, kind == kWholeColumn);
            if (number) {
                m_book.Check(worksheet_write_number(m_book.sheet(), Row(row), Col(col),
                                                    number->value,
                                                    m_book.NumberFormat(*number, beyond)));
                Fit(col, field.trimmed().size());
            }
            return number.has_value();
        }
        switch (m_layout.record.Content(col - 1)) {
        case ColumnContent::Date:
            if (const std::optional<QDate> date = RecordDate(field)) {
                m_book.Check(worksheet_write_number(m_book.sheet(), Row(row), Col(col),
                                                    double(kSerialEpoch.daysTo(*date)),
                                                    m_book.date));
                Fit(col, 10);
                return true;
            }
            return false;
        case ColumnContent::Time:
            if (const std::optional<QTime> time = RecordTime(field)) {
                const bool seconds = field.size() > 5;
                m_book.Check(
                    worksheet_write_number(m_book.sheet(), Row(row), Col(col),
                                           time->msecsSinceStartOfDay() / 1000 / kSecondsPerDay,
                                           seconds ? m_book.time : m_book.shortTime));
                Fit(col, seconds ? 8 : 5);
                return true;
            }
            return false;
        case ColumnContent::Plain:
            break;
        }
        return false;
    }

    // The text as the library takes it, in a buffer used again for every cell: most fields
    // are plain ASCII and need no conversion.
    const char* Utf8(QStringView text) {
        m_utf8.clear();
        for (const QChar ch : text) {
            if (ch.unicode() >= 0x80) {
                m_utf8 = text.toUtf8().toStdString();
                return m_utf8.c_str();
            }
            m_utf8.push_back(char(ch.unicode()));
        }
        return m_utf8.c_str();
    }
    static lxw_row_t Row(int row) { return lxw_row_t(row - 1); }
    static lxw_col_t Col(int col) { return lxw_col_t(col - 1); }
    void Fit(int col, qsizetype chars) {
        double& width = m_widths[col - 1];
        width = std::clamp(double(chars) + 2, width, kMaxWidth);
    }

    Workbook& m_book;
    const ExportLayout& m_layout;
    QList<double> m_widths;
    std::string m_utf8;
};

// False when the progress stopped the export.
bool WriteRecords(Ui& ui, SheetWriter& writer, const ExportLayout& layout, const QString& strMVals,
                  const WorkProgress& progress, const LimitFlags& limits) {
    const int value1 = layout.record.Value1() + 1;
    RecordWalker walker(strMVals);
    ProgressSteps steps(progress, strMVals.size());
    std::array<QStringView, kExportMaxColumns> fields;
    const std::span<QStringView> used(fields.data(), size_t(layout.count));
    QStringView line;
    int row = kExportTitleRow + 1;
    while (walker.NextLine(line)) {
        SplitRecordLine(line, used);
        if (row > CExportXlsx::kLastRow) {
            throw MervexError(RunTimeText(RtError::TooManySheetRecords)
                                  .arg(CExportXlsx::kLastRow - kExportTitleRow));
        }
        const bool beyond = limits.Beyond(line, layout.record);
        for (int c = 1; c <= layout.count; ++c) {
            writer.Field(row, c, fields[c - 1], beyond && c == value1);
        }
        ++row;
        ui.Yield();
        if (!steps.At(walker.Position())) {
            return false;
        }
    }
    if (walker.Failed()) {
        throw RunTimeError(RtError::DatasetUnfinished);
    }
    return steps.End();
}

} // namespace

bool CExportXlsx::SetMVals(const QString& strMVals, const QString& strMeter,
                           const QString& strSerNo, const QString& strUser,
                           const QDateTime& curDate, const QString& strFileName) {
    return Trapped(m_ui, false, [&] {
        const ExportLayout layout = ExportLayoutFor(m_device, strMeter);
        if (layout.count == 0 || layout.count > kExportMaxColumns) {
            return false;
        }
        SafeSaveFile target(strFileName);
        target.Begin();
        {
            Workbook book(target.WorkingFileName(), strFileName);
            SheetWriter writer(book, layout);
            const QStringList header =
                ExportHeaderLines(strMeter, strSerNo, strUser, curDate, m_selectionNote);
            for (int i = 0; i < header.size(); ++i) {
                writer.Text(kExportHeaderRow + i, 1, header[i]);
            }
            for (int c = 1; c <= layout.count; ++c) {
                writer.Title(c, layout.titles[c - 1]);
            }
            if (!WriteRecords(m_ui, writer, layout, strMVals, m_progress, m_limits)) {
                return false; // the target keeps what it held
            }
            writer.ApplyWidths();
            worksheet_freeze_panes(book.sheet(), lxw_row_t(kExportTitleRow), 0);
            book.Close();
        }
        target.Commit();
        return true;
    });
}
