#include "programs/ProgramAnswer.h"

#include "app/Errors.h"
#include "app/RunTimeErrors.h"
#include "meter/CCommunication.h"

namespace {

constexpr int kMinAnswerFields = 15;
constexpr int kCheckField = 6;
// Answer positions of the entry's fields after NO (position 6 is only checked).
const int kAnswerPosition[MeterProgramEntry::kFieldCount] = {0, 1, 2,  3,  4,  5,  7,
                                                             8, 9, 10, 11, 12, 13, 14};

} // namespace

QString ProgramWriteCommand(const QString& prefix, const ProgramRecord& strProgram) {
    return prefix + MeterProgramEntry::FieldsOf(strProgram).join(QLatin1Char(',')) +
           QStringLiteral("\r\n");
}

QStringList ProgramNumbersOfAnswer(const QString& strAnswer, int maxNumbers,
                                   const std::function<void()>& afterEach) {
    QStringList numbers;
    QString rest = strAnswer;
    while (rest.size() >= 2) {
        rest.remove(0, 2); // the CR LF before each line
        if (!CCommunication::EndsWithOK(rest)) {
            break;
        }
        const qsizetype lineEnd = rest.indexOf(QStringLiteral("\r\n"));
        if (numbers.size() == maxNumbers) {
            throw RunTimeError(RtError::Subscript);
        }
        numbers << rest.left(lineEnd);
        rest.remove(0, lineEnd);
        afterEach();
    }
    return numbers;
}

bool ParseProgramAnswer(const QString& strAnswer, MeterProgramEntry& entry) {
    if (!CCommunication::EndsWithOK(strAnswer)) {
        return false;
    }
    const QStringList parts = strAnswer.split(QLatin1Char(';'));
    if (parts.size() < kMinAnswerFields || parts[kCheckField] != QLatin1String("0")) {
        return false;
    }
    MeterProgramEntry parsed;
    for (int i = 0; i < MeterProgramEntry::kFieldCount; ++i) {
        parsed.fields[i] = parts[kAnswerPosition[i]];
    }
    // Any CR LF before the number falls away; CALREQ shares its field with the terminator.
    parsed.fields[0] = parts[0].right(3);
    parsed.fields[MeterProgramEntry::kFieldCount - 1] =
        parts[kMinAnswerFields - 1].startsWith(QLatin1Char('1')) ? QStringLiteral("1")
                                                                 : QStringLiteral("0");
    entry = parsed;
    return true;
}
