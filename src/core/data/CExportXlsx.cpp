#include "data/CExportXlsx.h"

#include "app/ErrorTrap.h"
#include "app/RunTimeErrors.h"
#include "app/Services.h"
#include "data/ExportSheet.h"
#include "data/FieldNumber.h"
#include "data/RecordDateTime.h"
#include "data/RecordWalker.h"
#include "data/WorkbookCompression.h"
#include "meter/ColumnKind.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
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

void Check(lxw_error error) {
    if (error != LXW_NO_ERROR) {
        throw MervexError(QString::fromUtf8(lxw_strerror(error)));
    }
}

// The workbook being written; libxlsxwriter builds the file when it is closed.
class Workbook {
public:
    explicit Workbook(const QString& path) : m_path(QFile::encodeName(path)) {
        lxw_workbook_options options{};
        // Rows go to a temporary file as they are written, so memory stays flat for any
        // number of records (rows must then be written top to bottom, as we do).
        options.constant_memory = LXW_TRUE;
        static_cast<void>(WorkbookCompression::Level());
        m_book = workbook_new_opt(m_path.constData(), &options);
        if (m_book == nullptr) {
            throw MervexError(QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(m_path),
                                                           RunTimeText(RtError::PathFileAccess)));
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
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;
    ~Workbook() {
        if (m_book != nullptr) {
            workbook_close(m_book); // only to free it: the caller discards the file
        }
    }

    lxw_worksheet* sheet() const { return m_sheet; }

    void Close() {
        lxw_workbook* book = std::exchange(m_book, nullptr);
        Check(workbook_close(book));
    }

    lxw_format* title = nullptr;
    lxw_format* date = nullptr;
    lxw_format* time = nullptr;
    lxw_format* shortTime = nullptr;

private:
    QByteArray m_path;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
};

// Writes the cells of the sheet and keeps the widest content of every column.
class SheetWriter {
public:
    SheetWriter(Workbook& book, const ExportLayout& layout)
        : m_book(book), m_layout(layout), m_widths(layout.count, kMinWidth) {}

    void Text(int row, int col, QStringView text, lxw_format* format = nullptr) {
        Check(worksheet_write_string(m_book.sheet(), Row(row), Col(col), Utf8(text), format));
    }

    void Field(int row, int col, QStringView field) {
        if (field.isEmpty()) {
            return; // an empty field gives no cell, as in the legacy export
        }
        if (!Typed(row, col, field)) {
            Text(row, col, field);
            Fit(col, field.size());
        }
    }

    void Title(int col, const QString& text) {
        Text(kExportTitleRow, col, text, m_book.title);
        Fit(col, text.size() + 1); // bold is wider
    }

    void ApplyWidths() {
        for (int c = 0; c < m_layout.count; ++c) {
            Check(worksheet_set_column(m_book.sheet(), lxw_col_t(c), lxw_col_t(c), m_widths[c],
                                       nullptr));
        }
    }

private:
    // Writes the field as the number, date or time its column holds; false leaves it text.
    bool Typed(int row, int col, QStringView field) {
        const int kind = m_layout.kinds[col - 1];
        if (kind == kWholeColumn || kind == kDecimalColumn) {
            const std::optional<double> number = FieldNumber(field, kind == kWholeColumn);
            if (number) {
                Check(worksheet_write_number(m_book.sheet(), Row(row), Col(col), *number, nullptr));
                Fit(col, field.trimmed().size());
            }
            return number.has_value();
        }
        switch (m_layout.contents.value(col - 1, ColumnContent::Plain)) {
        case ColumnContent::Date:
            if (const std::optional<QDate> date = RecordDate(field)) {
                Check(worksheet_write_number(m_book.sheet(), Row(row), Col(col),
                                             double(kSerialEpoch.daysTo(*date)), m_book.date));
                Fit(col, 10);
                return true;
            }
            return false;
        case ColumnContent::Time:
            if (const std::optional<QTime> time = RecordTime(field)) {
                const bool seconds = field.size() > 5;
                Check(worksheet_write_number(m_book.sheet(), Row(row), Col(col),
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

void WriteRecords(Services& services, SheetWriter& writer, const ExportLayout& layout,
                  const QString& strMVals) {
    RecordWalker walker(strMVals);
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
        for (int c = 1; c <= layout.count; ++c) {
            writer.Field(row, c, fields[c - 1]);
        }
        ++row;
        services.ui.Yield();
    }
    if (walker.Failed()) {
        throw RunTimeError(RtError::DatasetUnfinished);
    }
}

// Gives the new file the permissions the replaced one had, or the usual ones of a new
// document: the temporary file was created for the owner only.
void TakePermissions(const QString& temporary, const QString& target) {
    const QFileInfo old(target);
    const QFile::Permissions permissions =
        old.exists() ? old.permissions()
                     : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    QFile::setPermissions(temporary, permissions);
}

[[noreturn]] void FailOn(const QString& target, const QString& reason) {
    throw MervexError(QStringLiteral("%1: %2").arg(target, reason));
}

// Puts the finished workbook in the target's place: one rename when it was made beside the
// target, else its bytes written into the target (through the same fallback as every other
// save of the program).
void PutInPlace(QTemporaryFile& workbook, bool beside, const QString& target) {
    if (beside) {
        TakePermissions(workbook.fileName(), target);
        std::error_code error;
        std::filesystem::rename(QFile::encodeName(workbook.fileName()).toStdString(),
                                QFile::encodeName(target).toStdString(), error);
        if (error) {
            FailOn(target, QString::fromStdString(error.message()));
        }
        workbook.setAutoRemove(false);
        return;
    }
    QSaveFile out(target);
    out.setDirectWriteFallback(true);
    if (!workbook.open()) {
        FailOn(target, workbook.errorString());
    }
    if (!out.open(QIODevice::WriteOnly)) {
        FailOn(target, out.errorString());
    }
    const QByteArray bytes = workbook.readAll();
    if (out.write(bytes) != bytes.size() || !out.commit()) {
        FailOn(target, out.errorString());
    }
}

} // namespace

bool CExportXlsx::SetMVals(const QString& strMVals, const QString& strMeter,
                           const QString& strSerNo, const QString& strUser,
                           const QDateTime& curDate, const QString& strFileName) {
    return Trapped(m_services.ui, false, [&] {
        const ExportLayout layout = ExportLayoutFor(m_services, strMeter);
        if (layout.count == 0 || layout.count > kExportMaxColumns) {
            return false;
        }
        // The workbook goes to a new file in the target's folder (the same file system, so
        // the rename below replaces the target in one step).
        const QFileInfo target(strFileName);
        QTemporaryFile temporary(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                                 QStringLiteral(".XXXXXX"));
        const bool beside = temporary.open();
        if (!beside) {
            // A folder that refuses new files may still hold a writable target: the
            // workbook is then made in the system's temporary folder and written in place.
            if (!target.isFile() || !target.isWritable()) {
                FailOn(strFileName, temporary.errorString());
            }
            temporary.setFileTemplate(QDir::tempPath() + QStringLiteral("/mervex-XXXXXX.xlsx"));
            if (!temporary.open()) {
                FailOn(strFileName, temporary.errorString());
            }
        }
        temporary.close();
        {
            Workbook book(temporary.fileName());
            SheetWriter writer(book, layout);
            const QStringList header = ExportHeaderLines(strMeter, strSerNo, strUser, curDate);
            for (int i = 0; i < header.size(); ++i) {
                writer.Text(kExportHeaderRow + i, 1, header[i]);
            }
            for (int c = 1; c <= layout.count; ++c) {
                writer.Title(c, layout.titles[c - 1]);
            }
            WriteRecords(m_services, writer, layout, strMVals);
            writer.ApplyWidths();
            worksheet_freeze_panes(book.sheet(), lxw_row_t(kExportTitleRow), 0);
            book.Close();
        }
        PutInPlace(temporary, beside, strFileName);
        return true;
    });
}
