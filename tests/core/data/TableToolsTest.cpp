#include "app/Services.h"
#include "data/ColumnFitting.h"
#include "data/ColumnSortKeys.h"
#include "data/RecordColumns.h"
#include "data/RecordFilter.h"
#include "data/TableCopy.h"
#include "data/ValueStatistics.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace {

class TableToolsTest : public ::testing::Test {
protected:
    RecordColumns Columns(const char* meter) {
        return RecordColumnsOf(ExportLayoutFor(services.device, QString::fromLatin1(meter)));
    }
    // Views of `records`, which the fixture keeps alive.
    QList<QStringView> Lines(const QStringList& records) {
        kept = records;
        return QList<QStringView>(kept.begin(), kept.end());
    }
    std::vector<int> Sorted(const QStringList& records, int column, bool numeric, bool ascending) {
        const QList<QStringView> lines = Lines(records);
        return ColumnSortKeys(lines, column, numeric, QCollator(QLocale(QLocale::French)))
            .Order(ascending);
    }

    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};
    QStringList kept;
};

const QStringList kPhotometer = {
    "1;30.12.23;23:50:00;7;320;PO4-P;;1:1;0.52;mg/l;OK;1.59;mg/l;OK;01.12.23;09:00",
    "2;02.01.24;08:00:00;8;310;NO3-N;;1:1;12.5;mg/l;OK;;;;01.12.23;09:00",
    "3;02.01.24;09:30:00;9;320;PO4-P;;1:1;<0.05;mg/l;< MR;;;;01.12.23;09:00",
    "4;31.12.23;07:10:00;9;320;PO4-P;;1:1;0.31;mg/l;OK;0.95;mg/l;OK;01.12.23;09:00",
    "5;03.01.24;16:00:00;42;320;PO4;;1:1;----;mg/l;> MR;;;;01.12.23;09:00",
    "6;03.01.24;17:00:00;43;320;PO4-P;;1:1;2;mg/l;OK;;;;01.12.23;09:00",
};

} // namespace

TEST_F(TableToolsTest, ValuesSortAsNumbersWithTextsAfterThemBothWays) {
    const QStringList records = {"1;a;b;c;10",    "2;a;b;c;----", "3;a;b;c;9.5", "4;a;b;c;",
                                 "5;a;b;c;<0.01", "6;a;b;c;-2",   "7;a;b;c;9.5", "8;a;b;c;> MR"};
    // The texts in the collation's order ("----", "<0.01", "> MR"), the empty field last.
    EXPECT_EQ(Sorted(records, 4, true, true), (std::vector<int>{5, 2, 6, 0, 1, 4, 7, 3}));
    EXPECT_EQ(Sorted(records, 4, true, false), (std::vector<int>{0, 2, 6, 5, 7, 4, 1, 3}));
}

TEST_F(TableToolsTest, DatesSortAcrossYearsWithTheirTimesAndTextsByLocale) {
    EXPECT_EQ(Sorted(kPhotometer, 1, false, true), (std::vector<int>{0, 3, 1, 2, 4, 5}));
    EXPECT_EQ(Sorted(kPhotometer, 2, false, true), (std::vector<int>{3, 1, 2, 4, 5, 0}));
    const QStringList names = {"1;d;t;Étang", "2;d;t;eau", "3;d;t;Zinc", "4;d;t;bassin"};
    EXPECT_EQ(Sorted(names, 3, false, true), (std::vector<int>{3, 1, 0, 2}));
}

TEST_F(TableToolsTest, FilterCombinesProgramDatesStateAndText) {
    const RecordColumns columns = Columns("Zentravox");
    const QList<QStringView> lines = Lines(kPhotometer);
    RecordFilter filter;
    EXPECT_EQ(FilteredRows(lines, filter, columns).size(), 6u);
    filter.group = QStringLiteral("320");
    EXPECT_EQ(FilteredRows(lines, filter, columns), (std::vector<int>{0, 2, 3, 4, 5}));
    filter.from = QDate(2023, 12, 31);
    filter.to = QDate(2024, 1, 2);
    EXPECT_EQ(FilteredRows(lines, filter, columns), (std::vector<int>{2, 3}));
    filter.state = RecordFilter::State::Flagged;
    EXPECT_EQ(FilteredRows(lines, filter, columns), (std::vector<int>{2}));
    filter = RecordFilter{};
    filter.state = RecordFilter::State::Ok;
    filter.text = QStringLiteral("po4-p");
    EXPECT_EQ(FilteredRows(lines, filter, columns), (std::vector<int>{0, 3, 5}));
    filter.text = QStringLiteral("0.52;mg");
    EXPECT_TRUE(FilteredRows(lines, filter, columns).empty());
}

TEST_F(TableToolsTest, GroupsListProgramsByNumberOrTurbidityUnits) {
    const QList<QStringView> lines = Lines(QStringList(kPhotometer) << "7;;;;95;Cl2;;;1;mg/l;OK");
    const QList<RecordGroup> groups = RecordGroups(lines, Columns("Zentravox"));
    ASSERT_EQ(groups.size(), 3);
    EXPECT_EQ(groups[0].key, QStringLiteral("95"));
    EXPECT_EQ(groups[2].key, QStringLiteral("320"));
    EXPECT_EQ(groups[2].name, QStringLiteral("PO4-P, PO4"));
    const QList<QStringView> turbidity =
        Lines({"1;02.01.24;08:00:00;5;0.52;FNU;OK;Cal: OK;;", "2;02.01.24;08:00:00;5;3;NTU;OK"});
    const QList<RecordGroup> units = RecordGroups(turbidity, Columns("Ardel 20 IR"));
    ASSERT_EQ(units.size(), 2);
    EXPECT_EQ(units[0].key, QStringLiteral("FNU"));
}

TEST_F(TableToolsTest, StatisticsPerMethodCountTextsApartAgainstHandFigures) {
    const QList<QStringView> lines = Lines(kPhotometer);
    const QList<StatisticsRow> rows = ValueStatistics(lines, Columns("Zentravox"), 8, "Valeur 1");
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].program, QStringLiteral("310"));
    const StatisticsRow& po4p = rows[2];
    EXPECT_EQ(po4p.name, QStringLiteral("PO4-P"));
    EXPECT_EQ(po4p.unit, QStringLiteral("mg/l"));
    EXPECT_EQ(po4p.count, 3);
    EXPECT_EQ(po4p.nonNumeric, 1);
    // 0.52, 0.31, 2: mean 0.943333..., squared deviations 0.179211 + 0.401111 + 1.116544,
    // sd = sqrt(1.696867 / 2).
    EXPECT_NEAR(po4p.mean, 0.9433333333, 1e-9);
    EXPECT_NEAR(po4p.sd, 0.9211044, 1e-6);
    EXPECT_NEAR(po4p.cv, 97.64358, 1e-4);
    EXPECT_EQ(po4p.min, 0.31);
    EXPECT_EQ(po4p.max, 2.0);
    EXPECT_EQ(po4p.first, QDateTime(QDate(2023, 12, 30), QTime(23, 50)));
    EXPECT_EQ(po4p.last, QDateTime(QDate(2024, 1, 3), QTime(17, 0)));
    // One text only: no figures at all, and no zero passing for a value.
    const StatisticsRow& po4 = rows[1];
    EXPECT_EQ(po4.count, 0);
    EXPECT_EQ(po4.nonNumeric, 1);
    EXPECT_TRUE(std::isnan(po4.mean) && std::isnan(po4.min));
    const QStringList fields = StatisticsFields(
        rows[0], [](double v) { return QString::number(v); },
        [](const QDateTime& t) { return t.toString(QStringLiteral("yyyy")); });
    EXPECT_EQ(fields, (QStringList{"310", "NO3-N", "mg/l", "1", "0", "12.5", "", "", "12.5", "12.5",
                                   "0", "2024", "2024"}));
}

TEST_F(TableToolsTest, StatisticsCountFlaggedApartOkOnlyLeavesThemOutEmptyFieldsCountNowhere) {
    const QList<QStringView> lines = Lines({
        "1;02.01.24;08:00:00;1;320;PO4-P;;1:1;0.52;mg/l;OK;1.59;mg/l;OK;01.12.23;09:00",
        "2;02.01.24;09:00:00;2;320;PO4-P;;1:1;5.00;mg/l;> MR;15.3;mg/l;> MR;01.12.23;09:00",
        "3;02.01.24;10:00:00;3;320;PO4-P;;1:1;<0.05;mg/l;< MR;;;;01.12.23;09:00",
        "4;02.01.24;07:00:00;4;320;PO4-P;;1:1;0.31;mg/l;OK;0.95;mg/l;OK;01.12.23;09:00",
        "5;02.01.24;11:00:00;5;310;NO3-N;;1:1;12.5;mg/l;OK;;;;01.12.23;09:00",
        "6;02.01.24;12:00:00;6;320;PO4-P;;1:1; ;;;;;;01.12.23;09:00",
        "7;02.01.24;13:00:00;7;320;PO4-P;;1:1;0.40;mg/l;;;;;01.12.23;09:00",
    });
    const RecordColumns columns = Columns("Zentravox");
    // Every value: the flagged 5.00 counted in n and apart; the blank field of record 6 is
    // no value at all, neither a number nor a text; no state (7) is not a flag.
    QList<StatisticsRow> rows = ValueStatistics(lines, columns, 8, "Valeur 1");
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].count, 4);
    EXPECT_EQ(rows[1].flagged, 1);
    EXPECT_EQ(rows[1].nonNumeric, 1);
    EXPECT_NEAR(rows[1].mean, (0.52 + 5.0 + 0.31 + 0.40) / 4, 1e-12);
    EXPECT_EQ(rows[1].max, 5.0);
    EXPECT_EQ(rows[1].last, QDateTime(QDate(2024, 1, 2), QTime(13, 0)));
    // Only "OK": the flagged number, the flagged text and the value without state go.
    rows = ValueStatistics(lines, columns, 8, "Valeur 1", StatisticsValues::OkOnly);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1].count, 2);
    EXPECT_EQ(rows[1].flagged, 0);
    EXPECT_EQ(rows[1].nonNumeric, 0);
    EXPECT_NEAR(rows[1].mean, 0.415, 1e-12);
    EXPECT_EQ(rows[1].last, QDateTime(QDate(2024, 1, 2), QTime(8, 0)));
    // The second value: the program that has none makes no row, empty fields no texts.
    rows = ValueStatistics(lines, columns, 11, "Valeur 2");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].program, QStringLiteral("320"));
    EXPECT_EQ(rows[0].count, 3);
    EXPECT_EQ(rows[0].flagged, 1);
    EXPECT_EQ(rows[0].nonNumeric, 0);
    // A turbidimeter's value has its state in the same place after its unit.
    const QList<QStringView> turbidity = Lines({"1;02.12.24;08:00;5;1100;FNU;> MR;Cal: OK;;",
                                                "2;02.12.24;09:00;6;0.85;FNU;OK;CQA: Out;;"});
    rows = ValueStatistics(turbidity, Columns("Ardel 20 IR"), 4, "Valeur");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].count, 2);
    EXPECT_EQ(rows[0].flagged, 1);
    EXPECT_EQ(StatisticsTitles().mid(3, 3), (QStringList{"n", "dont signalées", "Moyenne"}));
}

TEST(TableCopy, TitlesFirstLocaleDecimalsInValuesOnlyEmptyCellsKept) {
    const QList<QStringList> cells = {{"2", "1.14", "05.01.24", "<0.01"}, {"3", "", "x\ty", "a&b"}};
    const QList<CopyColumn> columns = {
        {"No", false}, {"Valeur", true}, {"Date", false}, {"Valeur 2", true}};
    const CopyCell cell = [&](qsizetype r, qsizetype c) { return QStringView(cells[r][c]); };
    const TableCopyText french = MakeTableCopy(columns, 2, cell, QLatin1Char(','));
    EXPECT_EQ(french.tsv, QStringLiteral("No\tValeur\tDate\tValeur 2\n2\t1,14\t05.01.24\t<0.01\n"
                                         "3\t\tx y\ta&b\n"));
    EXPECT_TRUE(french.html.contains(
        QStringLiteral("<tr><td>2</td><td>1,14</td><td>05.01.24</td><td>&lt;0.01</td></tr>")));
    EXPECT_TRUE(french.html.contains(QStringLiteral("<th>Valeur 2</th>")));
    EXPECT_TRUE(french.html.contains(QStringLiteral("<td>a&amp;b</td>")));
    const TableCopyText raw = MakeTableCopy(columns, 2, cell, QLatin1Char('.'));
    EXPECT_TRUE(raw.tsv.contains(QStringLiteral("\t1.14\t")));
}

TEST(TableCopy, RecordCellsTakeSelectedRowsAndColumnsOnly) {
    const QStringList records = {"1;05.01.24;8.5;OK", "2;06.01.24;9.25;> MR", "3;07.01.24;;OK"};
    const QList<QStringView> lines(records.begin(), records.end());
    const QList<CopyColumn> columns = {
        {"No", false}, {"Date", false}, {"Valeur", true}, {"Etat", false}};
    // Row 1 not at all, column 1 nowhere; row 2 only its value (empty) and state.
    const std::vector<quint32> selected = {0b0101, 0, 0b1100};
    const TableCopyText copy = CopyRecordCells(lines, selected, columns, QLatin1Char(','));
    EXPECT_EQ(copy.tsv, QStringLiteral("No\tValeur\tEtat\n1\t8,5\t\n\t\tOK\n"));
}

TEST(ColumnFitting, SmallTablesFitEveryRowLargeOnesBothEndsAndAnEvenSpread) {
    EXPECT_TRUE(ColumnFittingRows(0).empty());
    EXPECT_EQ(ColumnFittingRows(3), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(ColumnFittingRows(300).size(), 300U);
    for (const int count : {301, 1500, 1000000}) {
        const std::vector<int> rows = ColumnFittingRows(count);
        ASSERT_EQ(rows.size(), 300U) << count;
        EXPECT_TRUE(std::ranges::is_sorted(rows) && std::ranges::adjacent_find(rows) == rows.end());
        EXPECT_EQ(rows[99], 99);
        EXPECT_EQ(rows[200], count - 100);
        EXPECT_EQ(rows.back(), count - 1);
        // No gap in the middle is longer than an even step.
        const int step = (count - 200 + 99) / 100;
        for (size_t i = 100; i <= 200; ++i) {
            EXPECT_LE(rows[i] - rows[i - 1], step) << count << " at " << i;
        }
    }
}
