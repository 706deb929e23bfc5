#include "meter/RecordLayout.h"

#include "app/Services.h"
#include "archive/ArchiveRecord.h"
#include "data/ExportSheet.h"
#include "data/ValueStatistics.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

struct FamilyModels {
    MeterFamily family;
    QStringList models;
};

const FamilyModels kFamilies[] = {
    {MeterFamily::Photometer, {"Zentravox", "R-2600 Pro", "an unknown meter"}},
    {MeterFamily::Ardel20, {"Ardel 20 T", "Ardel 20 IR"}},
    {MeterFamily::Ardel60, {"Ardel 60 T", "Ardel 60 IR"}},
};

// A record line whose field c reads "fc".
QString NumberedFields(int count) {
    QStringList fields;
    for (int c = 0; c < count; ++c) {
        fields << QStringLiteral("f%1").arg(c);
    }
    return fields.join(QLatin1Char(';'));
}

class RecordLayoutTest : public ::testing::Test {
protected:
    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};
};

// The one description answers for every reader: the table configuration, the exports'
// layout, the archive's split of a line and its reading back by the stored kinds.
TEST_F(RecordLayoutTest, EveryFamilyNamesEachFieldOnceAndEveryReaderAgrees) {
    for (const auto& [family, models] : kFamilies) {
        const RecordLayout layout = RecordLayout::Of(family);
        SCOPED_TRACE(layout.Count());
        for (int c = 0; c < layout.Count(); ++c) {
            EXPECT_EQ(layout.At(layout.Column(c).part), c) << "a field named twice: " << c;
        }
        EXPECT_EQ(RecordLayout::ForKinds(layout.Kinds()).Family(), family);
        for (const QString& model : models) {
            SCOPED_TRACE(model.toStdString());
            EXPECT_EQ(RecordLayout::ForModel(model).Family(), family);
            QStringList titles(16);
            QList<short> widths(16);
            QList<int> kinds(16);
            ASSERT_EQ(services.device.GetTableConfig(titles, widths, kinds, model), layout.Count());
            const ExportLayout exported = ExportLayoutFor(services.device, model);
            EXPECT_EQ(exported.titles, titles.mid(0, layout.Count()));
            EXPECT_EQ(exported.record.Kinds(), kinds.mid(0, layout.Count()));
            for (int c = 0; c < layout.Count(); ++c) {
                EXPECT_EQ(layout.Width(c), widths[c]);
            }
        }
        const ArchiveRecord r = ArchiveRecord::FromLine(NumberedFields(layout.Count()), layout);
        const auto field = [&](int column) {
            return column < 0 ? QString() : QStringLiteral("f%1").arg(column);
        };
        EXPECT_EQ(r.sampleId, field(layout.Id()));
        EXPECT_EQ(r.citation, field(layout.Citation()));
        EXPECT_EQ(r.dilution, field(layout.Dilution()));
        EXPECT_EQ(r.value1Text, field(layout.Value1()));
        EXPECT_EQ(r.unit1, field(layout.UnitOf(layout.Value1())));
        EXPECT_EQ(r.state1, field(layout.StateOf(layout.Value1())));
        EXPECT_EQ(r.flags, field(layout.At(RecordPart::Flags)));
    }
}

// What quality control and the archive rely on: "Valeur 1" and its first state, the
// program number and the citation form where the photometers write them, none on a
// turbidimeter.
TEST_F(RecordLayoutTest, NamedPositionsOfBothFamilies) {
    const RecordLayout photometer = RecordLayout::Of(MeterFamily::Photometer);
    EXPECT_EQ(photometer.Title(photometer.Program()), QStringLiteral("PROG"));
    EXPECT_EQ(photometer.Title(photometer.Citation()), QStringLiteral("Cit."));
    EXPECT_EQ(photometer.Title(photometer.Value1()), QStringLiteral("Valeur 1"));
    EXPECT_EQ(photometer.Title(photometer.StateOf(photometer.Value1())), QStringLiteral("Etat 1"));
    EXPECT_EQ(photometer.Values().size(), 2);
    EXPECT_EQ(photometer.GroupColumn(), photometer.Program());
    const RecordLayout ardel = RecordLayout::Of(MeterFamily::Ardel60);
    EXPECT_EQ(ardel.Program(), RecordLayout::kAbsent);
    EXPECT_EQ(ardel.Citation(), RecordLayout::kAbsent);
    EXPECT_EQ(ardel.Title(ardel.StateOf(ardel.Value1())), QStringLiteral("Etat"));
    EXPECT_EQ(ardel.Values(), QList<int>{ardel.Value1()});
    EXPECT_EQ(ardel.GroupColumn(), ardel.UnitOf(ardel.Value1()));
    EXPECT_EQ(ardel.Kind(ardel.Id()), kTextColumn);
    EXPECT_EQ(RecordLayout::Of(MeterFamily::Ardel20).Kind(ardel.Id()), kWholeColumn);
    EXPECT_EQ(RecordLayout().Count(), 0);
    EXPECT_EQ(RecordLayout().Date(), RecordLayout::kAbsent);
}

// Statistics of a column that holds no result (here the program number) take no unit and
// no state from its neighbours: the citation form was its unit, and the reference marker
// ("AR") flagged every value.
TEST_F(RecordLayoutTest, StatisticsOfAColumnWithoutResultTakeNoStateFromItsNeighbours) {
    const RecordLayout layout = RecordLayout::Of(MeterFamily::Photometer);
    const QString line =
        QStringLiteral("1;05.01.24;08:00:00;7;310;PO4-P;AR;1:10;0.52;mg/l;OK;;;;;");
    const QList<QStringView> lines{QStringView(line)};
    const QList<StatisticsRow> rows =
        ValueStatistics(lines, layout, layout.Program(), QStringLiteral("PROG"));
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].count, 1);
    EXPECT_EQ(rows[0].flagged, 0);
    EXPECT_EQ(rows[0].unit, QString());
}

} // namespace
