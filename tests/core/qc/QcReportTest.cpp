// What the Quality control window shows and prints of a judged control: the point cells and
// counts, the report's content, and the baseline estimate's acceptance.

#include "qc/QcReport.h"

#include "app/TextTables.h"
#include "qc/QcBaseline.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

QcVersion Version(double target, double sd, const QDate& from, const QString& by) {
    QcVersion v;
    v.validFrom = from;
    v.createdAt = QDateTime(from, QTime(8, 0), Qt::UTC);
    v.createdBy = by;
    v.target = target;
    v.sd = sd;
    v.unit = QStringLiteral("mg/l");
    return v;
}

QcControl Control() {
    QcControl c;
    c.name = QStringLiteral("KS-PO4");
    c.program = 303;
    c.match = QcControl::Match::Prefix;
    c.matchText = QStringLiteral("KS");
    c.versions = {Version(10.0, 1.0, QDate(2026, 3, 1), QStringLiteral("claire")),
                  Version(20.0, 2.0, QDate(2026, 3, 20), QStringLiteral("marc"))};
    return c;
}

QcRecord Record(int day, std::optional<double> value, const QString& state = QStringLiteral("OK")) {
    QcRecord r;
    r.recordId = day;
    r.serial = QStringLiteral("S1");
    r.measuredAt = QDateTime(QDate(2026, 3, 1).addDays(day), QTime(9, 30), Qt::UTC);
    r.instant = r.measuredAt;
    r.program = 303;
    r.sampleId = QStringLiteral("KS-1");
    r.value1 = value;
    r.value1Text = value ? QString::number(*value) : QStringLiteral("> MR");
    r.state1 = state;
    return r;
}

} // namespace

TEST(QcReport, ListsThePointsWithTheirRulesAndSumsUpTheViolations) {
    const QcControl control = Control();
    // Day 3 lies +3.5 s out (1-2s and 1-3s); days 4 and 5 +2.5 s (1-2s and 2-2s each); day 25
    // is judged by the second version; day 6 is no point.
    const QList<QcRecord> records = {Record(1, 10.2), Record(2, 9.9),  Record(3, 13.5),
                                     Record(4, 12.5), Record(5, 12.5), Record(6, std::nullopt),
                                     Record(25, 21.0)};
    const QcJudgement judged = QcJudge::Judge(control, records);
    ASSERT_EQ(judged.points.size(), 6);
    EXPECT_EQ(QcReport::Cells(judged.points[2]),
              (QStringList{QStringLiteral("S1"), QStringLiteral("2026-03-04 09:30:00"),
                           QStringLiteral("13.5"), QStringLiteral("3.5000"),
                           QStringLiteral("1-2s+1-3s")}));
    const QString counts = QcReport::CountsText(judged);
    EXPECT_TRUE(counts.startsWith(LoadResString(1758).arg(6).arg(QString()).trimmed()));
    EXPECT_TRUE(counts.contains(QStringLiteral("1-2s: 3"))) << counts.toStdString();
    EXPECT_TRUE(counts.contains(QStringLiteral("1-3s: 1"))) << counts.toStdString();
    EXPECT_TRUE(counts.contains(QStringLiteral("2-2s: 2"))) << counts.toStdString();
    EXPECT_TRUE(counts.endsWith(LoadResString(1759).arg(1))) << counts.toStdString();

    const ReportContent content = QcReport::Content(control, judged, std::nullopt, std::nullopt,
                                                    [](QPainter&, const QRectF&) {});
    EXPECT_TRUE(content.heading.endsWith(QStringLiteral("KS-PO4")));
    EXPECT_EQ(content.documentTitle, content.heading);
    // Without a period the report names the days of its first and last points.
    ASSERT_FALSE(content.header.isEmpty());
    EXPECT_EQ(content.header[0].value, QStringLiteral("2026-03-02 – 2026-03-26"));
    EXPECT_EQ(content.header.last().label, LoadResString(1607));
    EXPECT_EQ(content.header.last().value, QStringLiteral("KS"));
    ASSERT_EQ(content.details.size(), 2);
    EXPECT_TRUE(content.details[1].label.contains(QStringLiteral("2026-03-20")));
    EXPECT_TRUE(content.details[1].label.contains(QStringLiteral("marc")));
    EXPECT_TRUE(content.details[1].label.contains(QStringLiteral("2 mg/l")));
    ASSERT_EQ(content.columns.size(), QcReport::Titles().size());
    ASSERT_EQ(content.rows.size(), 6);
    EXPECT_EQ(content.rows[4].last(), QStringLiteral("1-2s+2-2s"));
    EXPECT_TRUE(content.figure);
    // The summary: its title, the counts, then each rejected point (not the mere warning).
    const QStringList& closing = content.closing;
    ASSERT_GE(closing.size(), 4);
    EXPECT_EQ(closing[0], LoadResString(1634));
    EXPECT_EQ(closing.mid(1, 2).join(QLatin1Char('\n')), counts);
    EXPECT_EQ(closing[3], LoadResString(1649).arg(3));
    ASSERT_EQ(closing.size(), 7);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(closing[4 + i],
                  QcReport::Cells(judged.points[2 + i]).join(QStringLiteral(" · ")));
    }

    // A period asked for is named as asked.
    const ReportContent period =
        QcReport::Content(control, judged, QDate(2026, 3, 1), QDate(2026, 3, 31), PageFigure());
    EXPECT_EQ(period.header[0].value, QStringLiteral("2026-03-01 – 2026-03-31"));
    EXPECT_FALSE(period.figure);
}

TEST(QcBaseline, TakesTwentyPointsWithASpreadAndSaysWhyItRefusesOthers) {
    QcControl control = Control();
    control.versions = {Version(0.0, 1.0, QDate(2026, 1, 1), QString())};
    QList<QcRecord> records;
    for (int day = 1; day <= 19; ++day) {
        records << Record(day, 10.0 + (day % 3) * 0.1);
    }
    const QDate from(2026, 3, 1);
    const QDate to(2026, 3, 31);
    QcBaseline baseline = QcBaseline::Of(control, records, from, to);
    EXPECT_FALSE(baseline.Accepted());
    EXPECT_EQ(baseline.Text(),
              LoadResString(1736).arg(19).arg(QStringLiteral("2026-03-01 – 2026-03-31")));

    records << Record(20, 10.0) << Record(21, std::nullopt);
    baseline = QcBaseline::Of(control, records, from, to);
    ASSERT_TRUE(baseline.Accepted());
    EXPECT_EQ(baseline.estimate.count, 20);
    double sum = 0.0;
    for (int day = 1; day <= 20; ++day) {
        sum += *records[day - 1].value1;
    }
    EXPECT_NEAR(baseline.estimate.mean, sum / 20, 1e-12);
    EXPECT_EQ(baseline.Text(),
              LoadResString(1739).arg(20).arg(QStringLiteral("2026-03-01 – 2026-03-31")));

    QList<QcRecord> same;
    for (int day = 1; day <= 25; ++day) {
        same << Record(day, 4.0);
    }
    baseline = QcBaseline::Of(control, same, from, to);
    EXPECT_FALSE(baseline.Accepted());
    EXPECT_EQ(baseline.Text(), LoadResString(1737).arg(QStringLiteral("2026-03-01 – 2026-03-31")));
}
