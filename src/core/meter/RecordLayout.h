#pragma once

#include "meter/ColumnKind.h"
#include "meter/MeterModels.h"

#include <QList>
#include <QString>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>

// What a record field is, whatever column a meter family writes it in.
enum class RecordPart : std::uint8_t {
    Number, // the meter's record number
    Date,   // date and time of the measurement, as the meter writes them
    Time,
    Id,        // the sample ID the user typed on the meter
    Program,   // program number (photometers)
    Citation,  // citation form of the result, e.g. "PO4-P" (photometers)
    Reference, // reference or blank value marker (photometers)
    Dilution,  // photometers
    Value1,    // the result ("Valeur 1"; a turbidimeter's only value), its unit and state
    Unit1,
    State1,
    Value2, // a second result of the same measurement (photometers)
    Unit2,
    State2,
    Flags, // quality-assurance or calibration marker (turbidimeters)
    CalDate,
    CalTime, // when the method was last calibrated
};
inline constexpr int kRecordPartCount = int(RecordPart::CalTime) + 1;

// One column of a record: the field it holds and how a table shows it.
struct LayoutColumn {
    RecordPart part;
    int title;              // string number of the column's title, 0 for the fixed text...
    const char* fixedTitle; // ...that no language translates ("ID", "PROG")
    short width;            // twips
    int kind;               // ColumnKind: what the spreadsheet export makes of the text
    ColumnContent content;
};

// What column N of a meter's record line means: the one description of a record's fields
// per meter family, from which the dataset table (`CDevice::GetTableConfig`), the
// exports, the report, the statistics, the graph, the filter and the archive read. A
// position is -1 (`kAbsent`) where the family has no such field.
class RecordLayout {
public:
    static constexpr int kAbsent = -1;
    static constexpr int kMaxColumns = 16;

    // No columns: no dataset shown.
    RecordLayout() = default;
    static RecordLayout Of(MeterFamily family);
    // The layout of a model name as the meter reports it; a name the program does not know
    // is read as a photometer's.
    static RecordLayout ForModel(const QString& model);
    // The layout whose column kinds these are, as the archive keeps them with each meter;
    // kinds of no family give the photometers' layout from 16 columns, else the Ardel 20's.
    static RecordLayout ForKinds(const QList<int>& kinds);

    int Count() const { return m_count; }
    MeterFamily Family() const { return m_family; }
    const LayoutColumn& Column(int column) const { return m_columns.at(size_t(column)); }
    // The title in the active language.
    QString Title(int column) const;
    short Width(int column) const { return Column(column).width; }
    int Kind(int column) const { return Column(column).kind; }
    ColumnContent Content(int column) const { return Column(column).content; }
    QStringList Titles() const;
    QList<int> Kinds() const;

    int At(RecordPart part) const { return m_at[size_t(part)]; }
    int Number() const { return At(RecordPart::Number); }
    int Date() const { return At(RecordPart::Date); }
    int Time() const { return At(RecordPart::Time); }
    int Id() const { return At(RecordPart::Id); }
    int Program() const { return At(RecordPart::Program); }
    int Citation() const { return At(RecordPart::Citation); }
    int Dilution() const { return At(RecordPart::Dilution); }
    int Value1() const { return At(RecordPart::Value1); }

    // The result columns, in order ("Valeur 1" first), and the unit and state of each;
    // -1 for a column that holds no result.
    QList<int> Values() const;
    int UnitOf(int valueColumn) const;
    int StateOf(int valueColumn) const;
    // The time of the measurement's or the calibration's date; -1 for any other column.
    int TimeOf(int dateColumn) const;
    // A column whose text is a number (the table sorts it as one); false outside the layout.
    bool IsNumeric(int column) const;
    // The column that tells the records' methods apart: the program number, else the unit
    // of the first value.
    int GroupColumn() const;

private:
    static constexpr std::array<int, kRecordPartCount> NoPositions() {
        std::array<int, kRecordPartCount> positions{};
        positions.fill(kAbsent);
        return positions;
    }
    RecordLayout(MeterFamily family, const LayoutColumn* columns, int count);
    // The field paired with the one in `column` (a value's unit, a date's time), -1 when
    // that column holds none of the pairs' first parts.
    int Paired(int column, std::initializer_list<std::pair<RecordPart, RecordPart>> pairs) const;

    MeterFamily m_family = MeterFamily::Photometer;
    std::array<LayoutColumn, kMaxColumns> m_columns{};
    int m_count = 0;
    std::array<int, kRecordPartCount> m_at = NoPositions();
};
