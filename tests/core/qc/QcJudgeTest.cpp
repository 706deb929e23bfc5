// The control rules on hand-built series: each rule at its boundary, runs across the period's
// start and across version changes, and measurements that are no points.

#include "qc/QcJudge.h"

#include <gtest/gtest.h>

namespace {

QcVersion Version(double target, double sd, const QDate& from = QDate(2026, 1, 1),
                  const QString& rules = QStringLiteral("1-2s,1-3s,2-2s,R-4s,4-1s,10x")) {
    QcVersion v;
    v.validFrom = from;
    v.createdAt = QDateTime(from, QTime(8, 0), Qt::UTC);
    v.target = target;
    v.sd = sd;
    v.rules = *QcRules::Parse(rules);
    return v;
}

QcControl Control(const QList<QcVersion>& versions) {
    QcControl c;
    c.name = QStringLiteral("KS-PO4");
    c.program = 303;
    c.matchText = QStringLiteral("ks-po4");
    c.versions = versions;
    return c;
}

// Day `day` of 2026's first days, one measurement a day, of a control with target 10, SD 1:
// z is the value minus 10.
QcRecord Point(int day, double value, const QString& serial = QStringLiteral("S1")) {
    QcRecord r;
    r.recordId = day;
    r.serial = serial;
    r.measuredAt = QDateTime(QDate(2026, 1, 1).addDays(day), QTime(9, 0), Qt::UTC);
    r.instant = r.measuredAt;
    r.program = 303;
    r.citation = QStringLiteral("PO4-P");
    r.sampleId = QStringLiteral(" KS-PO4 ");
    r.value1 = value;
    r.value1Text = QString::number(value);
    r.state1 = QStringLiteral("OK");
    return r;
}

// The codes fired at each point of a series of z values (target 10, SD 1).
QStringList Fired(const QList<double>& zs,
                  const QString& rules = QStringLiteral("1-2s,1-3s,2-2s,R-4s,4-1s,10x")) {
    QList<QcRecord> records;
    for (int i = 0; i < zs.size(); ++i) {
        records << Point(i, 10.0 + zs[i]);
    }
    const QcControl control = Control({Version(10.0, 1.0, QDate(2026, 1, 1), rules)});
    QStringList fired;
    for (const QcPoint& p : QcJudge::Judge(control, records).points) {
        fired << p.version->rules.Codes(p.flags).join(QLatin1Char('+'));
    }
    return fired;
}

} // namespace

TEST(QcJudge, EachRuleFiresOnItsPatternAndNotAtItsBoundary) {
    // Exactly 2 and 3 s do not fire; a hair beyond them does.
    EXPECT_EQ(Fired({2.0, -3.0, 2.0001, -3.0001}),
              (QStringList{"", "1-2s", "1-2s+R-4s", "1-2s+1-3s+R-4s"}));
    // 2-2s on one side only; a run of three beyond 2 s flags the second and the third.
    EXPECT_EQ(Fired({2.1, -2.1, -2.1, -2.2}),
              (QStringList{"1-2s", "1-2s+R-4s", "1-2s+2-2s", "1-2s+2-2s"}));
    // R-4s is this reading and the previous one on opposite sides beyond 2 s, not their
    // range: +2.5 then −1.6 spans 4.1 s and does not fire it.
    EXPECT_EQ(Fired({2.5, -1.6, 0.0}), (QStringList{"1-2s", "", ""}));
    // 4-1s: four beyond 1 s on one side; 1.0 itself is not beyond.
    EXPECT_EQ(Fired({1.5, 1.2, 1.0, 1.1, 1.3, 1.4, 1.9}).mid(3), (QStringList{"", "", "", "4-1s"}));
    // 10x: ten on one side; 0 breaks the run; with 7x seven are enough.
    QList<double> run(10, 0.5);
    EXPECT_EQ(Fired(run).last(), QStringLiteral("10x"));
    EXPECT_EQ(Fired(run).at(8), QString());
    run[4] = 0.0;
    EXPECT_EQ(Fired(run).last(), QString());
    EXPECT_EQ(Fired(QList<double>(7, -0.3), QStringLiteral("7x")).last(), QStringLiteral("7x"));
    // A rule that is off never fires.
    EXPECT_EQ(Fired({3.5, 3.5}, QStringLiteral("1-3s")), (QStringList{"1-3s", "1-3s"}));
}

TEST(QcJudge, ZIsRoundedToFourDecimalsHalfAwayFromZeroBeforeEveryComparison) {
    const QcVersion v = Version(10.0, 0.3);
    // 10.6 − 10 is 0.5999… in binary; divided by 0.3 it must still be exactly 2.
    EXPECT_EQ(QcJudge::ZOf(10.6, v), 20000);
    EXPECT_EQ(QcJudge::ZOf(10.600015, v), 20001); // 2.00005 rounds away from zero
    EXPECT_EQ(QcJudge::ZOf(9.399985, v), -20001);
    // 2.00004 is 2.0 once rounded: no 1-2s.
    EXPECT_EQ(Fired({2.00004}), QStringList{QString()});
    QcVersion zeroSd = v;
    zeroSd.sd = 0.0;
    EXPECT_NO_THROW(QcJudge::ZOf(10.0, zeroSd));
}

TEST(QcJudge, RunsLookBeforeThePeriodAndAcrossVersionsEachPointWithItsOwnZ) {
    // A 10x run whose first nine points lie before the period still fires at its tenth.
    QList<QcRecord> records;
    for (int day = 0; day < 10; ++day) {
        records << Point(day, 10.4);
    }
    const QDate tenth = QDate(2026, 1, 1).addDays(9);
    QcControl control = Control({Version(10.0, 1.0)});
    QcJudgement shown = QcJudge::Judge(control, records, tenth, tenth);
    ASSERT_EQ(shown.points.size(), 1);
    EXPECT_EQ(shown.points[0].flags, unsigned(QcRule::RunX));
    EXPECT_TRUE(shown.Rejected());
    // A new lot from day 5 with target 11: days 5.. lie below it (z = −0.6), which breaks
    // the run on the side above; the points before keep the first version's z.
    control.versions << Version(11.0, 1.0, QDate(2026, 1, 6));
    const QcJudgement judged = QcJudge::Judge(control, records);
    ASSERT_EQ(judged.points.size(), 10);
    EXPECT_DOUBLE_EQ(judged.points[4].z, 0.4);
    EXPECT_DOUBLE_EQ(judged.points[5].z, -0.6);
    EXPECT_EQ(judged.points[9].flags, 0u);
    EXPECT_FALSE(judged.Rejected());
    // Two versions of one date: the one made later holds.
    QcVersion corrected = Version(10.4, 0.2, QDate(2026, 1, 6));
    corrected.createdAt = corrected.createdAt.addSecs(60);
    control.versions << corrected;
    EXPECT_DOUBLE_EQ(QcJudge::Judge(control, records).points[9].z, 0.0);
}

TEST(QcJudge, SeriesAreOneMeterEachAndNonPointsAreListedWithTheirReason) {
    QList<QcRecord> records;
    // Two meters, each beyond 2 s once: no 2-2s across them.
    records << Point(0, 12.5, QStringLiteral("S1")) << Point(1, 12.5, QStringLiteral("S2"));
    QcRecord notOk = Point(2, 10.0);
    notOk.state1 = QStringLiteral(" ");
    QcRecord overRange = Point(3, 0.0);
    overRange.value1.reset();
    overRange.value1Text = QStringLiteral("> MR");
    QcRecord undated = Point(4, 10.0);
    undated.measuredAt.reset();
    undated.instant.reset();
    QcRecord early = Point(-5, 10.0);
    QcRecord invalid = Point(5, 10.0);
    invalid.valid = false;
    QcRecord otherForm = Point(6, 10.0);
    otherForm.citation = QStringLiteral("PO4");
    QcRecord otherSample = Point(7, 10.0);
    otherSample.sampleId = QStringLiteral("KS-PO4-2");
    records << notOk << overRange << undated << early << invalid << otherForm << otherSample;
    QcControl control = Control({Version(10.0, 1.0)});
    control.citation = QStringLiteral("PO4-P");
    const QcJudgement judged = QcJudge::Judge(control, records);
    ASSERT_EQ(judged.points.size(), 2);
    EXPECT_EQ(judged.points[1].flags, unsigned(QcRule::OneTwoS));
    using R = QcSkipped::Reason;
    QList<R> reasons;
    for (const QcSkipped& s : judged.skipped) {
        reasons << s.reason;
    }
    EXPECT_EQ(reasons,
              (QList<R>{R::NotOk, R::NotANumber, R::NoDate, R::BeforeFirstVersion, R::Invalid}));
    // Starting with the text, letter case folded, finds the second sample too.
    control.match = QcControl::Match::Prefix;
    control.citation.clear();
    EXPECT_EQ(QcJudge::Judge(control, records).points.size(), 4);
    EXPECT_EQ(judged.CountsPerRule(), (std::vector<int>{2, 0, 0, 0, 0, 0}));
}

TEST(QcRules, ParsesCodesInAnyOrderAndRefusesWhatIsNoRule) {
    const auto rules = QcRules::Parse(QStringLiteral("10X, r-4s,1-2s"));
    ASSERT_TRUE(rules);
    EXPECT_EQ(rules->Text(), QStringLiteral("1-2s,R-4s,10x"));
    EXPECT_EQ(QcRules::Parse(QStringLiteral("12x"))->runLength, 12);
    for (const char* bad : {"11x", "1-5s", "7x,8x", "", "x"}) {
        EXPECT_FALSE(QcRules::Parse(QLatin1String(bad))) << bad;
    }
    EXPECT_FALSE(QcRules::IsRejection(unsigned(QcRule::OneTwoS)));
    EXPECT_TRUE(QcRules::IsRejection(unsigned(QcRule::RunX)));
}
