#include "archive/ArchiveOutput.h"

#include "archive/ArchiveRecord.h"

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
        const QString csv = QString::fromUtf8(ArchiveOutput(records, ArchiveFormat::Csv));
        EXPECT_TRUE(
            csv.contains(QLatin1Char(',') + QString::fromUtf8(c.written) + QLatin1Char(',')))
            << c.id << ": " << csv.toStdString();
        // The value and its text as sent, both numbers, stay as they are.
        EXPECT_TRUE(csv.contains(QStringLiteral(",-0.5,-0.5,"))) << csv.toStdString();
        const QString tsv = QString::fromUtf8(ArchiveOutput(records, ArchiveFormat::Tsv));
        EXPECT_EQ(tsv.contains(QStringLiteral("\t'")), QByteArray(c.written).contains('\''))
            << tsv.toStdString();
        // JSON is read by programs, never run: the text as sent.
        const QString json = QString::fromUtf8(ArchiveOutput(records, ArchiveFormat::Json));
        EXPECT_FALSE(json.contains(QStringLiteral("\"'"))) << json.toStdString();
    }
}

} // namespace
