#include "programs/ProgramFile.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kHeader =
    "NO;MODEL;CUV;LAMBDA;MRB;MRE;E0;SLOPE;RES;FORM;UNIT;USER;BLANKREQ;CALPSB;CALREQ";
const QByteArray kOlderHeader = "NO;MODEL;CUV;LAMBDA;MRB;MRE;E0;SLOPE;RES;FORM;UNIT;USER";

QString File(const QByteArray& header, const QByteArray& values, const QByteArray& pairs) {
    return QString::fromLatin1(header + "\r\n" + values + "\r\nPAIRS_OF_VARIATES\r\n" + pairs);
}

QByteArray TenPairs() {
    QByteArray pairs = "0;0.002\r\n1.5;0.2";
    for (int i = 2; i < 10; ++i) {
        pairs += "\r\n;";
    }
    return pairs;
}

ProgramRecord Parsed(const QString& text, bool expectOk = true) {
    ProgramRecord record = EmptyProgramRecord();
    record[ProgramField::CALREQ] = QStringLiteral("untouched");
    EXPECT_EQ(ParseProgramFile(text, record), expectOk) << text.toStdString();
    return record;
}

} // namespace

TEST(ProgramFile, WrittenInThirteenLinesAndReadBack) {
    ProgramRecord record = EmptyProgramRecord();
    const QStringList values{"905", "Nit1", "16",   "436", "0.0",  "2.0",
                             "0.0", "1.0",  "0.01", "NO3", "mg/l", "Lab é"};
    for (int i = 0; i < values.size(); ++i) {
        record[i] = values[i];
    }
    record[ProgramField::PairX(0)] = "0";
    record[ProgramField::PairY(0)] = "0.002";
    record[ProgramField::PairX(9)] = "4";
    record[ProgramField::PairY(9)] = "0.8";
    record[ProgramField::BLANKREQ] = "0";
    record[ProgramField::CALPSB] = "1";
    record[ProgramField::CALREQ] = "0";

    const QString text = FormatProgramFile(record);
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 13);
    EXPECT_EQ(lines[0], QString::fromLatin1(kHeader));
    EXPECT_EQ(lines[1],
              QStringLiteral("905;Nit1;16;436;0.0;2.0;0.0;1.0;0.01;NO3;mg/l;Lab é;0;1;0"));
    EXPECT_EQ(lines[2], QStringLiteral("PAIRS_OF_VARIATES"));
    EXPECT_EQ(lines[3], QStringLiteral("0;0.002"));
    EXPECT_EQ(lines[4], QStringLiteral(";"));
    EXPECT_EQ(lines[12], QStringLiteral("4;0.8"));

    ProgramRecord back = EmptyProgramRecord();
    ASSERT_TRUE(ParseProgramFile(text, back));
    EXPECT_EQ(back, record);
}

TEST(ProgramFile, OlderFormatGetsTheFlagsCleared) {
    const ProgramRecord r =
        Parsed(File(kOlderHeader, "901;M;16;436;0;2;0;1;0.01;F;mg/l;Lab", TenPairs()));
    EXPECT_EQ(r[ProgramField::USER], "Lab");
    EXPECT_EQ(r.mid(32, 3), QStringList({"0", "0", "0"}));
    EXPECT_EQ(r[ProgramField::PairX(1)], "1.5");
    EXPECT_EQ(r[ProgramField::PairY(1)], "0.2");
    EXPECT_EQ(r[ProgramField::PairX(2)], "");
}

TEST(ProgramFile, FieldCountMustMatchTheHeader) {
    // A 12-field header over a 15-field line, and the other way round.
    Parsed(File(kOlderHeader, "901;M;16;436;0;2;0;1;0.01;F;mg/l;Lab;1;1;1", TenPairs()), false);
    Parsed(File(kHeader, "901;M;16;436;0;2;0;1;0.01;F;mg/l;Lab", TenPairs()), false);
    Parsed(File(kHeader, "901;M;16;436;0;2;0;1;0.01;F;mg/l;Lab;1;1", TenPairs()), false);
    // More than 15 fields: the last one keeps the rest.
    const ProgramRecord r =
        Parsed(File(kHeader, "901;M;16;436;0;2;0;1;0.01;F;mg/l;Lab;1;1;1;x", TenPairs()));
    EXPECT_EQ(r[ProgramField::CALREQ], "1;x");
}

TEST(ProgramFile, LineEndAfterTheLastPairStaysInItsValue) {
    const ProgramRecord s =
        Parsed(File(kHeader, "901;M;16;436;0;2;0;1;0.01;F;mg/l;Lab;1;0;1", TenPairs() + "\r\n"));
    EXPECT_EQ(s[ProgramField::PairY(9)], "\r\n");
    EXPECT_EQ(s.mid(32, 3), QStringList({"1", "0", "1"}));
}

TEST(ProgramFile, MalformedFilesAreRefusedAndLeaveTheRecord) {
    const QByteArray values = "901;M;16;436;0;2;0;1;0.01;F;mg/l;Lab;1;0;1";
    QByteArray ninePairs = TenPairs();
    ninePairs.chop(3);
    const QString cases[] = {
        QString(),
        QString::fromLatin1(kHeader + "\r\n" + values + "\r\nPAIRS_OF_VARIATES"),
        File(kHeader.toLower(), values, TenPairs()),
        File(kHeader + ";", values, TenPairs()),
        QString::fromLatin1(kHeader + "\r\n" + values + "\r\nPAIRS\r\n" + TenPairs()),
        File(kHeader, values, ninePairs),
        File(kHeader, values, TenPairs().replace("1.5;0.2", "1.5 0.2")),
    };
    for (const QString& text : cases) {
        const ProgramRecord r = Parsed(text, false);
        EXPECT_EQ(r[ProgramField::CALREQ], "untouched");
        EXPECT_EQ(r[ProgramField::NO], "");
    }
    ProgramRecord tooShort(34);
    EXPECT_FALSE(ParseProgramFile(File(kHeader, values, TenPairs()), tooShort));
}
