#include "archive/ArchiveOutput.h"

#include "archive/ArchiveRecord.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

ArchivedRecord WithSampleId(const QString& id, const QString& value1Text, double value1) {
    ArchivedRecord r;
    r.record.rawLine = QStringLiteral("1;line");
    r.record.sampleId = id;
    r.record.value1Text = value1Text;
    r.record.value1 = value1;
    return r;
}

TEST(ArchiveOutput, TextsASpreadsheetWouldRunAsFormulasAreWrittenInertNumbersUntouched) {
    const struct {
        const char* id;
        const char* written;
    } cases[] = {
        {"=HYPERLINK(\"http://x\")", "\"'=HYPERLINK(\"\"http://x\"\")\""},
        {"+A1", "'+A1"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"-A7", "'-A7"},
        {"-12", "-12"},
        {"K-7", "K-7"},
    };
    for (const auto& c : cases) {
        const QList<ArchivedRecord> records{
            WithSampleId(QString::fromUtf8(c.id), QStringLiteral("-0.5"), -0.5)};
        const QString csv = QString::fromUtf8(ArchiveOutput::Of(records, ArchiveFormat::Csv));
        EXPECT_TRUE(
            csv.contains(QLatin1Char(',') + QString::fromUtf8(c.written) + QLatin1Char(',')))
            << c.id << ": " << csv.toStdString();
        // The value and its text as sent, both numbers, stay as they are.
        EXPECT_TRUE(csv.contains(QStringLiteral(",-0.5,-0.5,"))) << csv.toStdString();
        const QString tsv = QString::fromUtf8(ArchiveOutput::Of(records, ArchiveFormat::Tsv));
        EXPECT_EQ(tsv.contains(QStringLiteral("\t'")), QByteArray(c.written).contains('\''))
            << tsv.toStdString();
        // JSON is read by programs, never run: the text as sent.
        const QString json = QString::fromUtf8(ArchiveOutput::Of(records, ArchiveFormat::Json));
        EXPECT_FALSE(json.contains(QStringLiteral("\"'"))) << json.toStdString();
    }
}

// JSON is written a record at a time, yet stays one document as Qt would lay it out: keys in
// the columns' order, every text escaped, whole numbers (ids beyond a million too) without
// an exponent; nothing matching is an empty array.
TEST(ArchiveOutput, JsonIsOneDocumentWithKeysInColumnOrderAndExactNumbers) {
    EXPECT_EQ(ArchiveOutput::Of({}, ArchiveFormat::Json), QByteArray("[\n]\n"));
    ArchivedRecord odd = WithSampleId(QStringLiteral("a\"b\\c\t\x01\u00e9\U0001F600"),
                                      QStringLiteral("0.30000000000000004"), 0.1 + 0.2);
    odd.recordId = 12345678;
    odd.record.value2 = 2.0;
    odd.record.measuredAt = QDateTime(QDate(2024, 3, 5), QTime(8, 15), Qt::UTC);
    const ArchivedRecord plain = WithSampleId(QStringLiteral("S"), QString(), 1);
    const QByteArray bytes = ArchiveOutput::Of({odd, plain}, ArchiveFormat::Json);
    QJsonParseError error;
    const QJsonArray array = QJsonDocument::fromJson(bytes, &error).array();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << bytes.toStdString();
    ASSERT_EQ(array.size(), 2);
    const QJsonObject first = array[0].toObject();
    EXPECT_EQ(first[QStringLiteral("sample_id")].toString(), odd.record.sampleId);
    EXPECT_EQ(first[QStringLiteral("value1")].toDouble(), 0.1 + 0.2);
    EXPECT_TRUE(first[QStringLiteral("program")].isNull());
    EXPECT_EQ(first[QStringLiteral("measured_at")].toString(),
              QStringLiteral("2024-03-05T08:15:00"));
    EXPECT_TRUE(bytes.contains("\"record_id\": 12345678,\n"));
    EXPECT_TRUE(bytes.contains("\"value2\": 2,\n"));
    // The keys as the columns come, record_id, archived_at, beyond_limit and valid last.
    QStringList keys;
    const QRegularExpression key(QStringLiteral("^        \"(\\w+)\": "),
                                 QRegularExpression::MultilineOption);
    for (auto it = key.globalMatch(QString::fromUtf8(bytes)); it.hasNext();) {
        keys << it.next().captured(1);
    }
    ASSERT_EQ(keys.size(), 50);
    EXPECT_EQ(keys.mid(0, 5), (QStringList{QStringLiteral("model"), QStringLiteral("serial_number"),
                                           QStringLiteral("user"), QStringLiteral("record_number"),
                                           QStringLiteral("measured_at")}));
    EXPECT_EQ(keys.mid(20, 5),
              (QStringList{QStringLiteral("raw_line"), QStringLiteral("record_id"),
                           QStringLiteral("archived_at"), QStringLiteral("beyond_limit"),
                           QStringLiteral("valid")}));
    EXPECT_EQ(keys.mid(25), keys.mid(0, 25));
    EXPECT_TRUE(bytes.contains("\"valid\": true\n"));
}

// A device that refuses the bytes (a full disk) is a failure the caller hears of, not a
// shorter file passed off as the result.
TEST(ArchiveOutput, AWriteTheDeviceRefusesIsAFailure) {
    QByteArray bytes;
    QBuffer readOnly(&bytes);
    readOnly.open(QIODevice::ReadOnly);
    ArchiveOutput output(readOnly, ArchiveFormat::Csv);
    output.Write(WithSampleId(QStringLiteral("S"), QStringLiteral("1"), 1));
    EXPECT_FALSE(output.Finish());
}

} // namespace
