#pragma once

#include "meter/RecordLayout.h"

#include <QStringView>

// What the meter wrote in a value's state field: "OK" for a valid result, any other text
// ("> MR" over the measuring range, "< MR", "Err" ...) flags the value, and an empty field
// says nothing.
enum class ValueState { None, Ok, Flagged };
ValueState ValueStateOf(QStringView stateField);

// Field `column` of a ";"-separated record line, without splitting the others; empty
// when the line has fewer fields.
QStringView RecordField(QStringView line, int column);
