#include "data/CExcelFile.h"

#include "support/FileSizeLimit.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

namespace {

using namespace ExcelStatus;

const QByteArray kBof = QByteArray::fromHex("0900040002001000");
const QByteArray kEof = QByteArray::fromHex("0A000000");

QByteArray Hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// Writes a file with the given calls between CreateFile and CloseFile and returns the
// bytes between the BOF and the EOF record.
QByteArray Body(const std::function<void(CExcelFile&)>& calls) {
    TempDir dir;
    const QString path = dir.file("body.xls");
    {
        CExcelFile xls;
        EXPECT_EQ(xls.CreateFile(path), kOk);
        calls(xls);
        EXPECT_EQ(xls.CloseFile(), kOk);
    }
    const QByteArray bytes = ReadBytes(path);
    EXPECT_TRUE(bytes.startsWith(kBof));
    EXPECT_TRUE(bytes.endsWith(kEof));
    return bytes.mid(kBof.size(), bytes.size() - kBof.size() - kEof.size());
}

QByteArray DoubleBytes(double value) {
    QByteArray bytes(8, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

short WriteText(CExcelFile& xls, int row, int col, const QString& text) {
    return xls.WriteValue(CExcelFile::kText, 0, CExcelFile::kAlignLeft, 0, row, col, text);
}

short WriteInteger(CExcelFile& xls, int row, int col, const QVariant& value) {
    return xls.WriteValue(CExcelFile::kInteger, 0, CExcelFile::kAlignRight, 0, row, col, value);
}

} // namespace

TEST(CExcelFile, EmptyFileIsBofAndEofOnly) {
    TempDir dir;
    const QString path = dir.file("empty.xls");
    CExcelFile xls;
    ASSERT_EQ(xls.CreateFile(path), kOk);
    ASSERT_EQ(xls.CloseFile(), kOk);
    EXPECT_EQ(ReadBytes(path), Hex("09 00 04 00 02 00 10 00 0A 00 00 00"));
}

TEST(CExcelFile, RecordsAreWrittenByteExactly) {
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(WriteText(x, 2, 1, "ab"), kOk); }),
              Hex("04 00 0A 00 01 00 00 00 00 00 01 02 61 62"));
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(WriteInteger(x, 9, 1, 5), kOk); }),
              Hex("02 00 09 00 08 00 00 00 00 00 03 05 00"));
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(x.SetFont("Arial", 10, 0), kOk); }),
              Hex("31 00 0A 00 C8 00 00 00 05") + "Arial");
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(x.SetColumnWidth(1, 16, 10), kOk); }),
              Hex("24 00 04 00 00 0F 00 0A"));
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(x.SetMargin(40, 1.5), kOk); }),
              Hex("28 00 08 00 00 00 00 00 00 00 F8 3F"));
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(WriteText(x, 1, 1, ""), kOk); }),
              Hex("04 00 08 00 00 00 00 00 00 00 01 00"));
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(x.SetCodePage(1252), kOk); }),
              Hex("42 00 02 00 E4 04"));
    EXPECT_EQ(Body([](CExcelFile& x) {
                  EXPECT_EQ(x.WriteValue(CExcelFile::kNumber, 0, 3, 0, 3, 2, 0.1), kOk);
              }),
              Hex("03 00 0F 00 02 00 01 00 00 00 03") + DoubleBytes(0.1));
}

TEST(CExcelFile, PageSettingsAndFlagsAreWrittenByteExactly) {
    const QByteArray body = Body([](CExcelFile& x) {
        EXPECT_EQ(x.SetHeader(QStringLiteral("H\u00e9")), kOk);
        EXPECT_EQ(x.SetFooter(""), kOk);
        EXPECT_EQ(x.SetFilePassword("pw"), kOk);
        x.PrintGridLines(false);
        x.PrintGridLines(true);
        x.ProtectSpreadsheet(true);
        x.ProtectSpreadsheet(false);
        EXPECT_EQ(x.SetMargin(CExcelFile::kLeftMargin, 0.5), kOk);
        EXPECT_EQ(x.SetMargin(CExcelFile::kRightMargin, 0.5), kOk);
        EXPECT_EQ(x.SetMargin(CExcelFile::kBottomMargin, 0.5), kOk);
        EXPECT_EQ(x.SetFont("X", 8, CExcelFile::kFontBold | CExcelFile::kFontItalic), kOk);
    });
    const QByteArray half = DoubleBytes(0.5);
    EXPECT_EQ(body, Hex("14 00 03 00 02 48 E9"
                        "15 00 01 00 00"
                        "2F 00 02 00 70 77"
                        "2B 00 02 00 00 00"
                        "2B 00 02 00 01 00"
                        "12 00 02 00 01 00"
                        "12 00 02 00 00 00"
                        "26 00 08 00") +
                        half + Hex("27 00 08 00") + half + Hex("29 00 08 00") + half +
                        Hex("31 00 06 00 A0 00 03 00 01 58"));
}

TEST(CExcelFile, AttributeBytesAreWrittenUnchangedInTheirOrder) {
    EXPECT_EQ(Body([](CExcelFile& x) {
                  EXPECT_EQ(
                      x.WriteValue(CExcelFile::kText, 2, CExcelFile::kAlignFill, 0xC0, 1, 3, "z"),
                      kOk);
              }),
              Hex("04 00 09 00 00 00 02 00 C0 02 04 01 7A"));
    // Other value types write nothing and succeed.
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(x.WriteValue(3, 0, 1, 0, 1, 1, "x"), kOk); }),
              QByteArray());
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(x.WriteValue(-1, 0, 1, 0, 1, 1, 1), kOk); }),
              QByteArray());
}

TEST(CExcelFile, RowsAndColumnsConvertFromOneBasedAndWrapOnlyAtZero) {
    const QList<std::pair<int, const char*>> cases = {
        {1, "00 00"},     {255, "FE 00"},   {32767, "FE 7F"}, {32768, "FF 7F"},
        {32769, "00 80"}, {65536, "FF FF"}, {0, "FF FF"}};
    for (const auto& [index, word] : cases) {
        EXPECT_EQ(Body([&](CExcelFile& x) { EXPECT_EQ(WriteText(x, index, 1, ""), kOk); }),
                  Hex("04 00 08 00") + Hex(word) + Hex("00 00 00 00 01 00"))
            << index;
        EXPECT_EQ(Body([&](CExcelFile& x) { EXPECT_EQ(WriteText(x, 1, index, ""), kOk); }),
                  Hex("04 00 08 00 00 00") + Hex(word) + Hex("00 00 01 00"))
            << index;
    }
    // Beyond the format's 65536 rows nothing is written over the first ones.
    EXPECT_EQ(Body([](CExcelFile& x) {
                  EXPECT_EQ(WriteText(x, 65537, 1, "a"), kOverflow);
                  EXPECT_EQ(WriteText(x, -1, 1, "a"), kOverflow);
                  EXPECT_EQ(WriteText(x, 1, 65537, "a"), kOverflow);
                  EXPECT_EQ(WriteInteger(x, 70000, 1, 1), kOverflow);
              }),
              QByteArray());
}

TEST(CExcelFile, IntegersAreRoundedRangeCheckedAndNegativesBecomeNumbers) {
    const QByteArray prefixInt = Hex("02 00 09 00 00 00 00 00 00 00 03");
    const QByteArray prefixNum = Hex("03 00 0F 00 00 00 00 00 00 00 03");
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(WriteInteger(x, 1, 1, 32767), kOk); }),
              prefixInt + Hex("FF 7F"));
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(WriteInteger(x, 1, 1, 0), kOk); }),
              prefixInt + Hex("00 00"));
    // Half to even, as the classic integer conversion rounds.
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(WriteInteger(x, 1, 1, 2.5), kOk); }),
              prefixInt + Hex("02 00"));
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(WriteInteger(x, 1, 1, QString("3.5")), kOk); }),
              prefixInt + Hex("04 00"));
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(WriteInteger(x, 1, 1, -3), kOk); }),
              prefixNum + DoubleBytes(-3));
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(WriteInteger(x, 1, 1, -32768), kOk); }),
              prefixNum + DoubleBytes(-32768));
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(WriteInteger(x, 1, 1, -0.4), kOk); }),
              prefixInt + Hex("00 00"));
    EXPECT_EQ(Body([](CExcelFile& x) {
                  EXPECT_EQ(WriteInteger(x, 1, 1, 32768), kOverflow);
                  EXPECT_EQ(WriteInteger(x, 1, 1, -32769), kOverflow);
                  EXPECT_EQ(WriteInteger(x, 1, 1, 32767.5), kOverflow);
                  EXPECT_EQ(WriteInteger(x, 1, 1, QString("abc")), kTypeMismatch);
                  EXPECT_EQ(x.WriteValue(CExcelFile::kNumber, 0, 3, 0, 1, 1, QString("1,5x")),
                            kTypeMismatch);
              }),
              QByteArray());
}

TEST(CExcelFile, RangeLimitsGiveOverflowAndWriteNothing) {
    EXPECT_EQ(Body([](CExcelFile& x) {
                  EXPECT_EQ(WriteText(x, 1, 1, QString(256, 'a')), kOverflow);
                  EXPECT_EQ(x.SetHeader(QString(256, 'a')), kOverflow);
                  EXPECT_EQ(x.SetFooter(QString(256, 'a')), kOverflow);
                  EXPECT_EQ(x.SetFont(QString(256, 'a'), 10, 0), kOverflow);
                  EXPECT_EQ(x.SetFont("Arial", 1639, 0), kOverflow);
                  EXPECT_EQ(x.SetFont("Arial", -1639, 0), kOverflow);
                  EXPECT_EQ(x.SetFont("Arial", 10, 256), kOverflow);
                  EXPECT_EQ(x.SetColumnWidth(1, 1, 128), kOverflow);
                  EXPECT_EQ(x.SetColumnWidth(1, 1, -129), kOverflow);
                  EXPECT_EQ(x.SetColumnWidth(0, 1, 10), kOverflow);
                  EXPECT_EQ(x.SetColumnWidth(1, 257, 10), kOverflow);
                  EXPECT_EQ(x.SetCodePage(65536), kOverflow);
                  EXPECT_EQ(x.SetMargin(37, 1.0), kInvalidArgument);
                  EXPECT_EQ(x.SetMargin(42, 1.0), kInvalidArgument);
                  EXPECT_EQ(x.WriteValue(CExcelFile::kText, 256, 1, 0, 1, 1, "a"), kOverflow);
              }),
              QByteArray());
    // The limits themselves are accepted.
    const QByteArray body = Body([](CExcelFile& x) {
        EXPECT_EQ(WriteText(x, 1, 1, QString(255, 'a')), kOk);
        EXPECT_EQ(x.SetFont("A", 1638, 0), kOk);
        EXPECT_EQ(x.SetColumnWidth(256, 1, -128), kOk);
        EXPECT_EQ(x.SetColumnWidth(1, 1, 127), kOk);
        EXPECT_EQ(x.SetFilePassword(QString(300, 'p')), kOk);
    });
    EXPECT_EQ(body, Hex("04 00 07 01 00 00 00 00 00 00 01 FF") + QByteArray(255, 'a') +
                        Hex("31 00 06 00 F8 7F 00 00 01 41") + Hex("24 00 04 00 FF 00 00 80") +
                        Hex("24 00 04 00 00 00 00 7F") + Hex("2F 00 2C 01") + QByteArray(300, 'p'));
}

TEST(CExcelFile, TextIsWindows1252AndAForeignCharacterStopsTheRecordThere) {
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(WriteText(x, 1, 1, "Unit\u00e9 \u20ac"), kOk); }),
              Hex("04 00 0F 00 00 00 00 00 00 00 01 07") + "Unit\xE9 \x80");
    // The bytes before the character stay, as the record was begun.
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(WriteText(x, 1, 1, "a\u4e2db"), kOverflow); }),
              Hex("04 00 0B 00 00 00 00 00 00 00 01 03 61"));
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(x.SetFooter("\u0141x"), kOverflow); }),
              Hex("15 00 03 00 02"));
    EXPECT_EQ(Body([](CExcelFile& x) { EXPECT_EQ(x.SetFilePassword("p\u0100"), kOverflow); }),
              Hex("2F 00 02 00 70"));
}

TEST(CExcelFile, StatusesWithoutAnOpenFileAndForASecondCreate) {
    TempDir dir;
    const QString path = dir.file("a.xls");
    CExcelFile xls;
    EXPECT_EQ(xls.CloseFile(), kNoFile);
    EXPECT_EQ(xls.DiscardFile(), kNoFile);
    const auto everyOperationFails = [&](CExcelFile& x) {
        EXPECT_NE(WriteText(x, 1, 1, "a"), kOk);
        EXPECT_NE(WriteInteger(x, 1, 1, 1), kOk);
        EXPECT_NE(x.WriteValue(9, 0, 0, 0, 1, 1, 1), kOk);
        EXPECT_NE(x.SetMargin(40, 1), kOk);
        EXPECT_NE(x.SetColumnWidth(1, 2, 3), kOk);
        EXPECT_NE(x.SetFont("Arial", 10, 0), kOk);
        EXPECT_NE(x.SetHeader("h"), kOk);
        EXPECT_NE(x.SetFooter("f"), kOk);
        EXPECT_NE(x.SetFilePassword("p"), kOk);
        EXPECT_NE(x.SetCodePage(1252), kOk);
        x.PrintGridLines(true);
        x.ProtectSpreadsheet(true);
    };
    everyOperationFails(xls);
    EXPECT_FALSE(QFile::exists(path));

    ASSERT_EQ(xls.CreateFile(path), kOk);
    EXPECT_EQ(xls.CreateFile(dir.file("b.xls")), kAlreadyOpen);
    EXPECT_EQ(xls.CreateFile(path), kAlreadyOpen);
    EXPECT_EQ(WriteText(xls, 1, 1, "a"), kOk);
    EXPECT_EQ(xls.CloseFile(), kOk);
    EXPECT_FALSE(QFile::exists(dir.file("b.xls")));
    const QByteArray written = ReadBytes(path);
    EXPECT_EQ(written, kBof + Hex("04 00 09 00 00 00 00 00 00 00 01 01 61") + kEof);

    // Closed again: nothing reaches the file any more.
    EXPECT_EQ(xls.CloseFile(), kNoFile);
    everyOperationFails(xls);
    EXPECT_EQ(ReadBytes(path), written);
}

TEST(CExcelFile, CreateReplacesAnExistingFileAndDestructorClosesWithEof) {
    TempDir dir;
    const QString path = dir.file("old.xls");
    WriteBytes(path, QByteArray(5000, 'x'));
    {
        CExcelFile xls;
        ASSERT_EQ(xls.CreateFile(path), kOk);
        ASSERT_EQ(WriteInteger(xls, 2, 2, 7), kOk);
    }
    EXPECT_EQ(ReadBytes(path), kBof + Hex("02 00 09 00 01 00 01 00 00 00 03 07 00") + kEof);
}

TEST(CExcelFile, DiscardedFileLeavesThePreviousContentOrNothing) {
    TempDir dir;
    const QString kept = dir.file("kept.xls");
    WriteBytes(kept, "previous");
    CExcelFile xls;
    ASSERT_EQ(xls.CreateFile(kept), kOk);
    ASSERT_EQ(WriteText(xls, 1, 1, "half"), kOk);
    EXPECT_EQ(xls.DiscardFile(), kOk);
    EXPECT_EQ(ReadBytes(kept), QByteArray("previous"));

    const QString fresh = dir.file("fresh.xls");
    ASSERT_EQ(xls.CreateFile(fresh), kOk);
    EXPECT_EQ(xls.DiscardFile(), kOk);
    EXPECT_FALSE(QFile::exists(fresh));
    // No temporary file is left behind either.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"kept.xls"});
}

TEST(CExcelFile, UnwritablePlacesGiveFileStatuses) {
    TempDir dir;
    CExcelFile xls;
    EXPECT_EQ(xls.CreateFile(dir.file("missing/x.xls")), kPathNotFound);
    // Nothing is open after a failed create.
    EXPECT_EQ(WriteText(xls, 1, 1, "a"), kNoFile);
    EXPECT_EQ(xls.CreateFile(dir.path()), kPathFileAccess);
}

TEST(CExcelFile, LargeFilesKeepEveryRecordInOrderAndAFailedWriteKeepsTheOldFile) {
    TempDir dir;
    const QString path = dir.file("big.xls");
    constexpr int kCells = 20000; // 13 bytes each: several output blocks
    {
        CExcelFile xls;
        ASSERT_EQ(xls.CreateFile(path), kOk);
        for (int i = 0; i < kCells; ++i) {
            ASSERT_EQ(WriteInteger(xls, i + 1, 1, i % 30000), kOk);
        }
        ASSERT_EQ(xls.CloseFile(), kOk);
    }
    const QByteArray bytes = ReadBytes(path);
    ASSERT_EQ(bytes.size(), kBof.size() + 13 * kCells + kEof.size());
    for (int i = 0; i < kCells; i += 997) {
        const QByteArray cell = bytes.mid(kBof.size() + 13 * i, 13);
        EXPECT_EQ(qFromLittleEndian<quint16>(cell.constData() + 4), i);
        EXPECT_EQ(qFromLittleEndian<quint16>(cell.constData() + 11), i % 30000);
    }

    // The disk refuses half-way: the writer says so and the finished file stays.
    const FileSizeLimit limit(100 * 1024);
    CExcelFile xls;
    ASSERT_EQ(xls.CreateFile(path), kOk);
    short failure = kOk;
    for (int i = 0; i < kCells && failure == kOk; ++i) {
        failure = WriteInteger(xls, i + 1, 1, 1);
    }
    EXPECT_EQ(failure, kDeviceIO);
    EXPECT_NE(xls.CloseFile(), kOk);
    EXPECT_EQ(ReadBytes(path), bytes);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"big.xls"});
}
