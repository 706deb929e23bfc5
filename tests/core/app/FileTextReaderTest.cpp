#include "app/CCSVFile.h"
#include "app/Errors.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

constexpr qsizetype kBlock = 1024 * 1024; // the reader's block size

// `bytes` placed so that the first of them is the last byte of the reader's first block.
QByteArray AcrossTheFirstBlock(const QByteArray& bytes) {
    return QByteArray(kBlock - 1, 'a') + bytes + QByteArray(10, 'z');
}

} // namespace

// What the reader decides per block must come out as if the file were decoded at once.
TEST(FileTextReader, BlockBordersChangeNothing) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("big.csv"));
    const struct {
        QByteArray bytes;
        QString text;
    } cases[] = {
        // A UTF-8 character cut by the border.
        {AcrossTheFirstBlock("\xC3\xA9"), QStringLiteral("é")},
        {AcrossTheFirstBlock("\xE2\x82\xAC"), QStringLiteral("€")},
        // CR at the end of one block, LF at the start of the next: one line end.
        {AcrossTheFirstBlock("\r\n"), QStringLiteral("\r\n")},
        {AcrossTheFirstBlock("\n\n"), QStringLiteral("\r\n\r\n")},
        // Valid UTF-8 first, a Windows-1252 byte only in the second block: all of it is
        // Windows-1252.
        {AcrossTheFirstBlock("\xC3\xA9\xB0"), QStringLiteral("Ã©°")},
    };
    for (const auto& c : cases) {
        WriteBytes(path, c.bytes);
        const QString text = ReadWholeFile(path);
        EXPECT_EQ(text.size(), kBlock - 1 + c.text.size() + 10) << c.bytes.right(13).toHex().data();
        EXPECT_EQ(text.mid(kBlock - 1, c.text.size()), c.text) << c.bytes.right(13).toHex().data();
        EXPECT_TRUE(text.endsWith(QStringLiteral("zzzzzzzzzz")));
    }
}

// Line ends are checked many bytes at a time: a line feed without its carriage return is
// found wherever it lies, also right after one with it.
TEST(FileTextReader, ALoneLineFeedGetsItsCarriageReturnAnywhere) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("lines.csv"));
    QByteArray lines;
    while (lines.size() < 400) {
        lines += "12;3.5\r\n";
    }
    const QString expected = QString::fromLatin1(lines);
    for (qsizetype at = 0; at < lines.size(); at += 8) {
        QByteArray bytes = lines;
        bytes.remove(at + 6, 1); // the carriage return of one line
        WriteBytes(path, bytes);
        ASSERT_EQ(ReadWholeFile(path), expected) << at;
    }
}

TEST(FileTextReader, AStoppedReadingSaysSo) {
    TempDir dir;
    const QString path = dir.file(QStringLiteral("big.csv"));
    WriteBytes(path, QByteArray(3 * kBlock, 'a'));
    QList<qint64> told;
    EXPECT_THROW(ReadWholeFile(path,
                               [&](qint64 done, qint64 total) {
                                   told.append(done * 100 / total);
                                   return told.size() < 2;
                               }),
                 MervexError);
    EXPECT_EQ(told, (QList<qint64>{33, 66}));
}
