#pragma once

#include "archive/ArchiveOutput.h"

#include <QString>
#include <QStringList>
#include <optional>
#include <span>

class QIODevice;

// One value of a column: a text, a number that may be missing, a list of codes (a JSON
// array; in CSV and TSV the codes joined by "+"), or a yes or no that may be missing (JSON
// true, false or null; in CSV and TSV 1, 0 or empty). Copying a text shares it.
struct TableCell {
    enum Kind { Text, Whole, Real, List, Flag } kind = Text;
    QString text;
    std::optional<double> real;
    std::optional<qint64> whole;
    QStringList list;

    static TableCell OfText(const QString& text) { return {Text, text, {}, {}, {}}; }
    static TableCell OfWhole(std::optional<qint64> n) { return {Whole, {}, {}, n, {}}; }
    static TableCell OfReal(std::optional<double> n) { return {Real, {}, n, {}, {}}; }
    static TableCell OfList(const QStringList& codes) { return {List, {}, {}, {}, codes}; }
    static TableCell OfFlag(std::optional<bool> flag) {
        return {Flag, {}, {}, flag ? std::optional<qint64>(*flag ? 1 : 0) : std::nullopt, {}};
    }
};

// Rows for statistics programs, LIMS imports and scripts, written to a device as they come, a
// buffer at a time, so that a result of any size costs the same memory: UTF-8, "." as the
// decimal separator; CSV (quoted where a text needs it) or TSV with a header line, or a JSON
// array of objects whose keys follow the columns' order and whose numbers are numbers (null
// for none). In CSV and TSV a text a spreadsheet would run as a formula is written inert.
class TableOutput {
public:
    TableOutput(QIODevice& device, ArchiveFormat format, std::span<const char* const> names);
    TableOutput(const TableOutput&) = delete;
    TableOutput& operator=(const TableOutput&) = delete;

    // False once the device refused a write (a full disk, a closed pipe); what follows is
    // dropped.
    bool Write(std::span<const TableCell> cells);
    // Ends the document and writes what is buffered; false when any write failed.
    bool Finish();

private:
    void WriteDelimited(std::span<const TableCell> cells);
    void WriteJson(std::span<const TableCell> cells);
    void Flush();

    QIODevice& m_device;
    ArchiveFormat m_format;
    std::span<const char* const> m_names;
    QString m_text; // what is not yet written
    qint64 m_rows = 0;
    bool m_ok = true;
};
