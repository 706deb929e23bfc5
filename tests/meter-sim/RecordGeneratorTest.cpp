#include "engine/RecordGenerator.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

QDateTime Stamp(const QList<QByteArray>& fields, int dateField, int timeField) {
    return QDateTime::fromString(
        QString::fromLatin1(fields.value(dateField) + ' ' + fields.value(timeField)),
        QStringLiteral("dd.MM.yy HH:mm:ss"));
}

bool IsNumber(const QByteArray& text) {
    bool ok = false;
    text.toDouble(&ok);
    return ok;
}

struct Layout {
    const char* model;
    int fields;
    int valueField;
};

TEST(RecordGenerator, RecordsFollowTheFamilyLayoutInTimeOrder) {
    for (const Layout& layout :
         {Layout{"Zentravox", 16, 8}, Layout{"Ardel 20 T", 10, 4}, Layout{"Ardel 60 IR", 10, 4}}) {
        const QList<QByteArray> records = GenerateRecords(QString::fromLatin1(layout.model), 200);
        ASSERT_EQ(records.size(), 200) << layout.model;
        QDateTime previous;
        for (int i = 0; i < records.size(); ++i) {
            const QList<QByteArray> fields = records[i].split(';');
            ASSERT_EQ(fields.size(), layout.fields) << records[i].data();
            EXPECT_EQ(fields[0].toInt(), i + 1);
            EXPECT_TRUE(IsNumber(fields[layout.valueField])) << records[i].data();
            const QDateTime when = Stamp(fields, 1, 2);
            const QDateTime calibrated = Stamp(fields, layout.fields - 2, layout.fields - 1);
            ASSERT_TRUE(when.isValid() && calibrated.isValid()) << records[i].data();
            EXPECT_LT(calibrated, when) << records[i].data();
            EXPECT_TRUE(previous.isNull() || previous < when) << records[i].data();
            previous = when;
        }
    }
}

TEST(RecordGenerator, SameCountSameMemoryAndLongerMemoriesExtendShorterOnes) {
    const QList<QByteArray> shorter = GenerateRecords(QStringLiteral("R-2600"), 20);
    EXPECT_EQ(GenerateRecords(QStringLiteral("R-2600"), 20), shorter);
    EXPECT_EQ(GenerateRecords(QStringLiteral("R-2600"), 50).mid(0, 20), shorter);
    EXPECT_TRUE(GenerateRecords(QStringLiteral("Ardel 20 T"), 0).isEmpty());
}

TEST(RecordGenerator, TurbidimeterIdsAndUnitsFollowTheModel) {
    for (const QByteArray& record : GenerateRecords(QStringLiteral("Ardel 20 IR"), 50)) {
        const QList<QByteArray> fields = record.split(';');
        bool whole = false;
        fields[3].toInt(&whole);
        EXPECT_TRUE(whole) << record.data();
        EXPECT_EQ(fields[5], QByteArray("FNU"));
    }
    bool textId = false;
    for (const QByteArray& record : GenerateRecords(QStringLiteral("Ardel 60 T"), 50)) {
        const QList<QByteArray> fields = record.split(';');
        textId = textId || fields[3].contains(' ');
        EXPECT_EQ(fields[5], QByteArray("NTU"));
    }
    EXPECT_TRUE(textId);
}

TEST(RecordGenerator, PhotometerMemoryMixesMethodsAndStatuses) {
    QSet<QByteArray> programs;
    QSet<QByteArray> statuses;
    for (const QByteArray& record : GenerateRecords(QStringLiteral("Zentravox"), 300)) {
        const QList<QByteArray> fields = record.split(';');
        programs << fields[4];
        statuses << fields[10];
        // A second result, when there is one, comes with its unit and status.
        EXPECT_EQ(fields[11].isEmpty(), fields[12].isEmpty()) << record.data();
        EXPECT_EQ(fields[11].isEmpty(), fields[13].isEmpty()) << record.data();
    }
    EXPECT_GE(programs.size(), 5);
    EXPECT_TRUE(statuses.contains("OK") && statuses.size() >= 2);
}

TEST(RecordLines, SplitsAtLineBreaksAndKeepsEmptyLines) {
    EXPECT_TRUE(RecordLines("").isEmpty());
    EXPECT_EQ(RecordLines("1;a\r\n2;b\r\n"), (QList<QByteArray>{"1;a", "2;b"}));
    EXPECT_EQ(RecordLines("1;a\n\n3;c"), (QList<QByteArray>{"1;a", "", "3;c"}));
    EXPECT_EQ(RecordLines("\r\n"), QList<QByteArray>{""});
}

} // namespace
