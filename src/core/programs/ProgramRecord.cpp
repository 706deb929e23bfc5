#include "programs/ProgramRecord.h"

ProgramRecord EmptyProgramRecord() {
    return ProgramRecord(kProgramRecordSize);
}

bool IsProgramRecord(const ProgramRecord& record) {
    return record.size() >= kProgramRecordSize;
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
