#pragma once

#include "data/ExportSheet.h"

#include <QList>
#include <QStringView>

// Where the parts of a record stand in a meter's table layout. Every layout starts with
// the record number, its date and its time; a value is followed by its unit and its state.
struct RecordColumns {
    static constexpr int kNo = 0;
    static constexpr int kDate = 1;
    static constexpr int kTime = 2;

    int count = 0;
    QList<int> kinds;  // ColumnKind of each column
    int program = -1;  // the photometers name a method by program number...
    int citation = -1; // ...and citation form; a turbidimeter measures one parameter
    int id = -1;       // the sample ID the user typed on the meter
    QList<int> values; // the measured values (real-number columns), in order

    bool IsNumeric(int column) const;
    // The unit and state columns of a value column, -1 when the layout has none.
    int UnitOf(int valueColumn) const;
    int StateOf(int valueColumn) const;
    // The column that tells the records' methods apart: the program number, else the unit
    // of the first value.
    int GroupColumn() const;
};

RecordColumns RecordColumnsOf(const ExportLayout& layout);

// What the meter wrote in a value's state field: "OK" for a valid result, any other text
// ("> MR" over the measuring range, "< MR", "Err" ...) flags the value, and an empty field
// says nothing.
enum class ValueState { None, Ok, Flagged };
ValueState ValueStateOf(QStringView stateField);

// Field `column` of a ";"-separated record line, without splitting the others; empty
// when the line has fewer fields.
QStringView RecordField(QStringView line, int column);
