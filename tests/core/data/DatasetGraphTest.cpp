#include "data/DatasetGraph.h"

#include "app/AxisTicks.h"
#include "app/Services.h"
#include "data/FieldNumber.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

QString Dataset(const QStringList& lines) {
    return QStringLiteral("\r\n") + lines.join(QStringLiteral("\r\n")) +
           QStringLiteral("\r\n!\r\n>");
}

class DatasetGraphTest : public ::testing::Test {
protected:
    ExportLayout Layout(const QString& meter) { return ExportLayoutFor(services.device, meter); }

    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};
};

double At(int day, int hour, int minute, int second = 0) {
    return RecordClockSeconds(QDate(2024, 3, day), QTime(hour, minute, second));
}

} // namespace

TEST(FieldNumber, OnlyWholeNumbersCount) {
    EXPECT_EQ(FieldNumber(u" 0.52 ", false), 0.52);
    EXPECT_EQ(FieldNumber(u"-1.5e2", false), -150.0);
    EXPECT_EQ(FieldNumber(u"0", false), 0.0);
    EXPECT_EQ(FieldNumber(u"17", true), 17.0);
    for (const char16_t* text :
         {u"<0.01", u"----", u"1,5", u"0.5 mg", u"", u"  ", u"1e999", u"--1", u"."}) {
        EXPECT_FALSE(FieldNumber(text, false)) << QString::fromUtf16(text).toStdString();
    }
    EXPECT_FALSE(FieldNumber(u"1.5", true));
}

TEST_F(DatasetGraphTest, ValueColumnsOfEveryLayout) {
    const ExportLayout photometer = Layout(QStringLiteral("Zentravox"));
    EXPECT_EQ(GraphColumns(photometer), (QList<int>{8, 11}));
    EXPECT_EQ(photometer.titles[8], QStringLiteral("Valeur 1"));
    EXPECT_EQ(GraphColumns(Layout(QStringLiteral("Ardel 20 IR"))), (QList<int>{4}));
    EXPECT_EQ(GraphColumns(Layout(QStringLiteral("Ardel 60 T"))), (QList<int>{4}));
}

TEST_F(DatasetGraphTest, PhotometerRecordsMakeOneSeriesPerProgram) {
    const ExportLayout layout = Layout(QStringLiteral("Zentravox"));
    const QString mvals = Dataset({
        "1;12.03.24;14:05:09;7;320;PO4-P;;1:1;0.52;mg/l;OK;1.59;mg/l;OK;01.03.24;09:00",
        "2;12.03.24;13:00:00;8;310;NO3-N;;1:1;12.5;mg/l;OK;;;;01.03.24;09:00",
        "3;12.03.24;15:30;9;320;PO4-P;;1:1;<0.05;mg/l;< MR;;;;01.03.24;09:00",
        "4;12.03.24;12:10:00;9;320;PO4-P;;1:1;0.31;mg/l;OK;0.95;mg/l;OK;01.03.24;09:00",
        "5;12.03.24;16:00:00;9;320;PO4-P;;1:1;----;mg/l;Err;;;;01.03.24;09:00",
        "6;xx.03.24;16:10:00;9;320;PO4-P;;1:1;0.40;mg/l;OK;;;;01.03.24;09:00",
        "7;12.03.24;16:20:00;9;370;GH;;1:1;0;\u00b0dH;OK;0;mg/l;OK;01.03.24;09:00",
        "8;12.03.24;16:30:00;9;340;COD;;1:1;----;mg/l;Err;;;;01.03.24;09:00",
    });
    const DatasetGraph graph = MakeDatasetGraph(mvals, layout, 8);
    EXPECT_EQ(graph.title, QStringLiteral("Valeur 1"));
    // Not a number (3, 5, 8) or no date (6): left out and counted. A real zero (7) stays.
    // A program without any point (340) has no series, its record counts with all of them.
    EXPECT_EQ(graph.skipped, 4);
    ASSERT_EQ(graph.series.size(), 3);
    EXPECT_EQ(graph.series[0].skipped, 0);
    EXPECT_EQ(graph.series[1].skipped, 3);
    // One program shown: what it leaves out, not what the others do.
    EXPECT_EQ(PartOfGraph(graph, {true, false, false}).skipped, 0);
    EXPECT_EQ(PartOfGraph(graph, {false, true, false}).skipped, 3);
    EXPECT_EQ(PartOfGraph(graph, {true, true, true}).skipped, 4);
    EXPECT_EQ(graph.series[0].name, QStringLiteral("310 NO3-N [mg/l]"));
    EXPECT_EQ(graph.series[1].name, QStringLiteral("320 PO4-P [mg/l]"));
    EXPECT_EQ(graph.series[2].name, QString::fromUtf8("370 GH [°dH]"));
    // In time order, whatever the order of the records.
    EXPECT_EQ(graph.series[1].points,
              (QList<QPointF>{{At(12, 12, 10), 0.31}, {At(12, 14, 5, 9), 0.52}}));
    EXPECT_EQ(graph.series[2].points, (QList<QPointF>{{At(12, 16, 20), 0.0}}));
    EXPECT_TRUE(graph.unit.isEmpty()); // mg/l and °dH
    // Axes: from midnight-aligned hours around the records, values from 0 on round ticks.
    EXPECT_EQ(graph.xMin, At(12, 12, 0));
    EXPECT_EQ(graph.xMax, At(12, 17, 0));
    EXPECT_EQ(graph.xTicks.size(), graph.xLabels.size());
    EXPECT_EQ(graph.xLabels.front(), QStringLiteral("12:00\n12/03/2024"));
    EXPECT_EQ(graph.yMin, 0.0);
    EXPECT_EQ(graph.yMax, 15.0);
    EXPECT_EQ(graph.yTicks, RoundTicks(0.0, 12.5));

    // The second value column: its own unit; a record without a second value has no value
    // there, so it is neither drawn nor counted as left out.
    const DatasetGraph second = MakeDatasetGraph(mvals, layout, 11);
    EXPECT_EQ(second.title, QStringLiteral("Valeur 2"));
    ASSERT_EQ(second.series.size(), 2);
    EXPECT_EQ(second.series[0].name, QStringLiteral("320 PO4-P [mg/l]"));
    EXPECT_EQ(second.series[0].points.size(), 2);
    EXPECT_EQ(second.series[1].name, QStringLiteral("370 GH [mg/l]"));
    EXPECT_EQ(second.unit, QStringLiteral("mg/l"));
    EXPECT_EQ(second.skipped, 0);
}

TEST_F(DatasetGraphTest, TurbidityRecordsMakeOneSeriesPerUnit) {
    const ExportLayout layout = Layout(QStringLiteral("Ardel 60 IR"));
    const DatasetGraph graph = MakeDatasetGraph(
        Dataset({"1;02.12.24;08:00:00;Inlet 3;0.85;FNU;OK;Cal: OK;01.12.24;10:00",
                 "2;02.12.24;08:30:00;Basin 1;-0.02;FNU;OK;Cal: OK;01.12.24;10:00",
                 "3;02.12.24;09:00:00;Tap 2;1100;FNU;> MR;Cal: OK;01.12.24;10:00"}),
        layout, GraphColumns(layout).front());
    ASSERT_EQ(graph.series.size(), 1);
    EXPECT_EQ(graph.series[0].name, QStringLiteral("FNU"));
    EXPECT_EQ(graph.series[0].points.size(), 3);
    // Over the range: drawn, flagged, in time order with its point.
    EXPECT_EQ(graph.series[0].flagged, (QList<bool>{false, false, true}));
    EXPECT_EQ(graph.flagged, 1);
    EXPECT_EQ(graph.unit, QStringLiteral("FNU"));
    // A negative reading takes the value axis below 0.
    EXPECT_LT(graph.yMin, -0.019);
    EXPECT_GE(graph.yMax, 1100.0);
    EXPECT_EQ(graph.skipped, 0);
}

TEST_F(DatasetGraphTest, DegenerateDatasetsStillScale) {
    const ExportLayout layout = Layout(QStringLiteral("Ardel 20 T"));
    // One record: an hour around it, a unit value range.
    const DatasetGraph one =
        MakeDatasetGraph(Dataset({"1;02.12.24;08:00;5;0;NTU;OK;;;"}), layout, 4);
    ASSERT_EQ(one.series.size(), 1);
    EXPECT_LE(one.xMin, RecordClockSeconds(QDate(2024, 12, 2), QTime(7, 30)));
    EXPECT_GE(one.xMax, RecordClockSeconds(QDate(2024, 12, 2), QTime(8, 30)));
    EXPECT_EQ(one.yMin, 0.0);
    EXPECT_EQ(one.yMax, 1.0);

    // Nothing to show: no records, only non-numbers, or a column that is no value column.
    EXPECT_TRUE(MakeDatasetGraph(Dataset({}), layout, 4).IsEmpty());
    const DatasetGraph none =
        MakeDatasetGraph(Dataset({"1;02.12.24;08:00;5;----;NTU;Err;;;"}), layout, 4);
    EXPECT_TRUE(none.IsEmpty());
    EXPECT_EQ(none.skipped, 1);
    EXPECT_TRUE(MakeDatasetGraph(Dataset({"1;02.12.24;08:00;5;1;NTU;OK;;;"}), layout, 2).IsEmpty());
    EXPECT_TRUE(
        MakeDatasetGraph(Dataset({"1;02.12.24;08:00;5;1;NTU;OK;;;"}), layout, 10).IsEmpty());
}
