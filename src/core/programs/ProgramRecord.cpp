#include "programs/ProgramRecord.h"

#include <QRegularExpression>

ProgramRecord EmptyProgramRecord() {
    return ProgramRecord(kProgramRecordSize);
}

bool IsProgramRecord(const ProgramRecord& record) {
    return record.size() >= kProgramRecordSize;
}

bool IsProgramNumber(const QString& text) {
    static const QRegularExpression kNumber(
        QRegularExpression::anchoredPattern(QStringLiteral("[+-]?([0-9]+(\\.[0-9]*)?|\\.[0-9]+)")));
    return kNumber.match(text).hasMatch();
}

int FirstNonNumericField(const ProgramRecord& record) {
    using namespace ProgramField;
    for (const int index : {MRB, MRE, E0, SLOPE}) {
        if (index >= record.size() || !IsProgramNumber(record[index])) {
            return index;
        }
    }
    return -1;
}

QStringList MeterProgramEntry::FieldsOf(const ProgramRecord& record) {
    QStringList fields;
    for (const int index : kRecordIndex) {
        fields << record[index];
    }
    return fields;
}

void MeterProgramEntry::CopyTo(ProgramRecord& record) const {
    record.fill(QString());
    for (int i = 0; i < kFieldCount; ++i) {
        record[kRecordIndex[i]] = fields[i];
    }
    // The meter does not keep who saved a program.
    record[ProgramField::USER] = QStringLiteral("---");
}
