#include "data/ProposedName.h"

#include "data/MValSet.h"

#include <gtest/gtest.h>

TEST(ProposedName, FileNameElseModelSerialAndImportDateElseModel) {
    MValSet set;
    set.strMeter = QStringLiteral("Ardel 60 T");
    set.strSerNo = QStringLiteral("A60/9");
    EXPECT_EQ(ProposedDatasetName(set, QString()), QStringLiteral("Ardel 60 T")) << "no dataset";
    set.strMVals = QStringLiteral("\r\n1;2\r\n!\r\n>");
    set.curDate = QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3));
    EXPECT_EQ(ProposedDatasetName(set, QString()), QStringLiteral("Ardel 60 T A60-9 2026-12-07"))
        << "an import: its serial number made safe for a file name";
    EXPECT_EQ(ProposedDatasetName(set, QStringLiteral("/home/lab/Mesures été.csv")),
              QStringLiteral("Mesures été"));
    set.strSerNo.clear();
    EXPECT_EQ(ProposedDatasetName(set, QString()), QStringLiteral("Ardel 60 T 2026-12-07"));
    EXPECT_EQ(FileNameSafe(QStringLiteral("a:b*c?\"d<e>f|g\\h\ti")),
              QStringLiteral("a-b-c--d-e-f-g-h-i"));
}
