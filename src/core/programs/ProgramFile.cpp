#include "programs/ProgramFile.h"

#include "data/TextSplit.h"

namespace {

const QString kLineEnd = QStringLiteral("\r\n");
const QString kHeader = QStringLiteral(
    "NO;MODEL;CUV;LAMBDA;MRB;MRE;E0;SLOPE;RES;FORM;UNIT;USER;BLANKREQ;CALPSB;CALREQ");
const QString kOlderHeader =
    QStringLiteral("NO;MODEL;CUV;LAMBDA;MRB;MRE;E0;SLOPE;RES;FORM;UNIT;USER");
const QString kPairsTitle = QStringLiteral("PAIRS_OF_VARIATES");

constexpr int kCommonFields = 12; // NO ... USER
constexpr int kCurrentFields = 15;
const int kFlagIndex[] = {ProgramField::BLANKREQ, ProgramField::CALPSB, ProgramField::CALREQ};

// Splits at the separator into at most `limit` parts; the last part keeps the rest.
QStringList SplitLimited(const QString& text, const QString& separator, int limit) {
    QStringList parts;
    for (const QStringView part : SplitAtMost(text, separator, limit)) {
        parts << part.toString();
    }
    return parts;
}

bool ParseValueLine(const QString& line, bool current, ProgramRecord& record) {
    const QStringList fields = SplitLimited(line, QStringLiteral(";"), kCurrentFields);
    if (fields.size() != (current ? kCurrentFields : kCommonFields)) {
        return false;
    }
    for (int i = 0; i < kCommonFields; ++i) {
        record[i] = fields[i];
    }
    for (int k = 0; k < 3; ++k) {
        record[kFlagIndex[k]] = current ? fields[kCommonFields + k] : QStringLiteral("0");
    }
    return true;
}

bool ParsePairLines(const QString& text, ProgramRecord& record) {
    const QStringList lines = SplitLimited(text, kLineEnd, kNumPairs);
    if (lines.size() != kNumPairs) {
        return false;
    }
    for (int i = 0; i < kNumPairs; ++i) {
        const QStringList pair = SplitLimited(lines[i], QStringLiteral(";"), 2);
        if (pair.size() != 2) {
            return false;
        }
        record[ProgramField::PairX(i)] = pair[0];
        record[ProgramField::PairY(i)] = pair[1];
    }
    return true;
}

} // namespace

QString FormatProgramFile(const ProgramRecord& strProgram) {
    QStringList values = strProgram.mid(0, kCommonFields);
    for (const int index : kFlagIndex) {
        values << strProgram[index];
    }
    QStringList lines{kHeader, values.join(QLatin1Char(';')), kPairsTitle};
    for (int i = 0; i < kNumPairs; ++i) {
        lines << strProgram[ProgramField::PairX(i)] + QLatin1Char(';') +
                     strProgram[ProgramField::PairY(i)];
    }
    return lines.join(kLineEnd);
}

bool ParseProgramFile(const QString& strText, ProgramRecord& strProgram) {
    if (!IsProgramRecord(strProgram)) {
        return false;
    }
    const QStringList parts = SplitLimited(strText, kLineEnd, 4);
    if (parts.size() < 4) {
        return false;
    }
    const bool current = parts[0] == kHeader;
    if ((!current && parts[0] != kOlderHeader) || parts[2] != kPairsTitle) {
        return false;
    }
    ProgramRecord record = strProgram;
    if (!ParseValueLine(parts[1], current, record) || !ParsePairLines(parts[3], record)) {
        return false;
    }
    strProgram = record;
    return true;
}
