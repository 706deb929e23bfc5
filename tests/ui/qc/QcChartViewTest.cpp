// The Levey-Jennings chart: a point is drawn in its rule's colour where its z lies, tells its
// record under the mouse, and is saved as a picture.

#include "ui/qc/QcChartView.h"

#include "support/TempDir.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

QcJudgement Judged(QcControl& control) {
    control.name = QStringLiteral("KS-PO4");
    control.matchText = QStringLiteral("KS-PO4");
    QcVersion v;
    v.validFrom = QDate(2026, 1, 1);
    v.target = 2.0;
    v.sd = 0.1;
    v.unit = QStringLiteral("mg/l");
    control.versions = {v};
    QList<QcRecord> records;
    const QList<double> values = {2.0, 2.05, 1.95, 2.34, 1.1};
    for (int i = 0; i < values.size(); ++i) {
        QcRecord r;
        r.recordId = i + 1;
        r.serial = QStringLiteral("S1");
        r.measuredAt = QDateTime(QDate(2026, 1, 2 + i), QTime(8, 0), Qt::UTC);
        r.instant = r.measuredAt;
        r.sampleId = control.matchText;
        r.value1 = values[i];
        r.value1Text = QString::number(values[i]);
        r.state1 = QStringLiteral("OK");
        records << r;
    }
    return QcJudge::Judge(control, records);
}

} // namespace

TEST(QcChartView, DrawsEachPointInItsRulesColourAndTellsItsRecord) {
    QcControl control;
    const QcJudgement judged = Judged(control);
    QcChartView view;
    view.SetJudgement(control, judged);
    // +3.4 s is a rejection; −9 s lies beyond the widest chart (±8 s) and sits at its edge.
    ASSERT_EQ(view.Chart().points.size(), 5);
    EXPECT_EQ(view.Chart().points[3].level, QcChart::Level::Rejection);
    EXPECT_TRUE(view.Chart().points[4].clipped);
    EXPECT_EQ(view.Chart().yMin, -8.0);
    QImage image(800, 420, QImage::Format_ARGB32);
    image.fill(Qt::white);
    view.resize(image.size());
    view.render(&image);
    // Find the rejected point by its record under a pointer, then look at its colour.
    qsizetype found = -1;
    QPoint where;
    for (int x = 0; x < image.width() && found < 0; x += 2) {
        for (int y = 0; y < image.height(); y += 2) {
            if (view.PointAt(QPointF(x, y)) == 3) {
                found = 3;
                where = QPoint(x, y);
                break;
            }
        }
    }
    ASSERT_EQ(found, 3);
    int red = 0;
    for (int dx = -6; dx <= 6; ++dx) {
        for (int dy = -6; dy <= 6; ++dy) {
            const QColor c = image.pixelColor(where + QPoint(dx, dy));
            red += c.red() > 180 && c.green() < 90 && c.blue() < 90 ? 1 : 0;
        }
    }
    EXPECT_GT(red, 10);
    const QString text = view.PointText(3);
    EXPECT_TRUE(text.contains(QStringLiteral("2026-01-05 08:00:00"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("z = 3.40"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("1-2s, 1-3s"))) << text.toStdString();

    TempDir dir;
    for (const char* name : {"chart.png", "chart.svg"}) {
        const QString path = dir.file(QLatin1String(name));
        EXPECT_TRUE(view.SaveImage(path, QSize(1000, 500))) << name;
        EXPECT_GT(QFileInfo(path).size(), 1000) << name;
    }
    // A picture of another size (or a printed page) leaves the mouse where the screen shows.
    EXPECT_EQ(view.PointAt(where), 3);
    QcChartView empty;
    EXPECT_FALSE(empty.SaveImage(dir.file(QStringLiteral("none.png")), QSize(100, 100)));
}
