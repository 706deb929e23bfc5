#pragma once

#include <QString>
#include <QStringList>
#include <array>

// One user-defined photometer program as 35 texts: its fields, the user who saved it and
// ten pairs of concentration and extinction. Numbers are texts with "." as separator.
// Operations refuse a record with fewer than kProgramRecordSize elements.
using ProgramRecord = QStringList;

constexpr int kProgramRecordSize = 35;
constexpr int kNumPairs = 10;

namespace ProgramField {
enum : int {
    NO = 0,
    MODEL = 1,
    CUV = 2,
    LAMBDA = 3,
    MRB = 4,
    MRE = 5,
    E0 = 6,
    SLOPE = 7,
    RES = 8,
    FORM = 9,
    UNIT = 10,
    USER = 11,
    BLANKREQ = 32,
    CALPSB = 33,
    CALREQ = 34,
};
// Concentration (X) and extinction (Y) of pair i, i = 0 to 9.
constexpr int PairX(int i) {
    return 12 + 2 * i;
}
constexpr int PairY(int i) {
    return 13 + 2 * i;
}
} // namespace ProgramField

// A record of 35 empty texts.
ProgramRecord EmptyProgramRecord();
bool IsProgramRecord(const ProgramRecord& record);

// A number as the measuring range, zero point and slope must be: an optional sign, digits
// and at most one "." (as "-0.5", "2", ".5"). Anything else, a ";" above all, would shift
// the fields of the program file and of the meter's command.
bool IsProgramNumber(const QString& text);
// MRB, MRE, E0 and SLOPE in this order: the first that is not a program number, or -1.
int FirstNonNumericField(const ProgramRecord& record);

// What the meter keeps of a program: NO, MODEL, CUV, LAMBDA, MRB, MRE, E0, SLOPE, RES,
// FORM, UNIT, BLANKREQ, CALPSB, CALREQ (neither the user nor the pairs).
struct MeterProgramEntry {
    static constexpr int kFieldCount = 14;
    // The program record index of each field, in the meter's order.
    static constexpr std::array<int, kFieldCount> kRecordIndex = {
        ProgramField::NO,     ProgramField::MODEL, ProgramField::CUV,  ProgramField::LAMBDA,
        ProgramField::MRB,    ProgramField::MRE,   ProgramField::E0,   ProgramField::SLOPE,
        ProgramField::RES,    ProgramField::FORM,  ProgramField::UNIT, ProgramField::BLANKREQ,
        ProgramField::CALPSB, ProgramField::CALREQ};

    // A free entry: NO "0", every other field empty.
    std::array<QString, kFieldCount> fields{QStringLiteral("0")};

    const QString& No() const { return fields[0]; }
    bool IsFree() const { return fields[0] == QLatin1String("0"); }

    // The meter's fields of a record, in the meter's order.
    static QStringList FieldsOf(const ProgramRecord& record);
    // Empties the record, then puts in the entry's fields and USER "---" (no pairs).
    void CopyTo(ProgramRecord& record) const;
};
