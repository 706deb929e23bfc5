// Quality control's costs: judging a control's series of 10⁵ points beside reading the same
// points from the archive, judging an import's new points, and painting the chart of 10⁴
// points.
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveWriter.h"
#include "archive/QcImportCheck.h"
#include "archive/QcStore.h"
#include "meter/RecordLayout.h"
#include "qc/QcJudge.h"
#include "support/TempDir.h"
#include "ui/qc/QcChartView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

constexpr int kJudged = 100000;
constexpr int kCharted = 10000;

QcControl Control() {
    QcControl control;
    control.name = QStringLiteral("KS-PO4");
    control.program = 303;
    control.matchText = QStringLiteral("KS-PO4");
    QcVersion v;
    v.validFrom = QDate(2000, 1, 1);
    v.target = 2.0;
    v.sd = 0.1;
    control.versions = {v};
    return control;
}

// Control values around the target, a few beyond 2 and 3 s, 48 a day over the years.
double ValueAt(int i) {
    return 2.0 + 0.1 * 2.2 * std::sin(i * 0.7) * std::cos(i * 0.13);
}

QList<QcRecord> Records(int count) {
    QList<QcRecord> records;
    records.reserve(count);
    const QDateTime start(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
    for (int i = 0; i < count; ++i) {
        QcRecord r;
        r.recordId = i + 1;
        r.serial = QStringLiteral("S%1").arg(i % 3);
        r.measuredAt = start.addSecs(qint64(i) * 1800);
        r.instant = r.measuredAt;
        r.program = 303;
        r.sampleId = QStringLiteral("KS-PO4");
        r.value1 = ValueAt(i);
        r.value1Text = QString::number(*r.value1, 'f', 3);
        r.state1 = QStringLiteral("OK");
        records << r;
    }
    return records;
}

void BM_JudgeSeries(benchmark::State& state) {
    const QcControl control = Control();
    const QList<QcRecord> records = Records(kJudged);
    for (auto _ : state) {
        const QcJudgement judged = QcJudge::Judge(control, records);
        benchmark::DoNotOptimize(judged.points.size());
    }
    state.SetItemsProcessed(state.iterations() * kJudged);
}

// A dataset of `count` records measured every 30 minutes from record `first` on, every
// `controlEvery`-th the control KS-PO4, the others samples.
MValSet Dataset(int first, int count, int controlEvery) {
    MValSet set;
    set.strMeter = QStringLiteral("Zentravox");
    set.strSerNo = QStringLiteral("S1");
    set.strUser = QStringLiteral("Marc");
    QString text = QStringLiteral("\r\n");
    const QDateTime start(QDate(2000, 1, 1), QTime(0, 0));
    for (int i = first; i < first + count; ++i) {
        const QDateTime at = start.addSecs(qint64(i) * 1800);
        text += QStringLiteral("%1;%2;%3;%4;303;PO4-P;;1:1;%5;mg/l;OK;;;;01.01.00;07:00:00\r\n")
                    .arg(i)
                    .arg(at.toString(QStringLiteral("dd.MM.yy")),
                         at.toString(QStringLiteral("HH:mm:ss")),
                         i % controlEvery == 0 ? QStringLiteral("KS-PO4") : QStringLiteral("river"))
                    .arg(ValueAt(i), 0, 'f', 3);
    }
    set.strMVals = text + QStringLiteral("!\r\n>");
    return set;
}

bool Add(ArchiveDatabase& db, const MValSet& set, ArchiveCounts& counts) {
    return ArchiveWriter(db).Add(set, RecordLayout::Of(MeterFamily::Photometer), QString(), counts);
}

// The pair of BM_JudgeSeries: the same 10⁵ control points read from an archive.
void BM_ReadPointsFromArchive(benchmark::State& state) {
    TempDir dir;
    ArchiveDatabase db;
    db.Open(ArchiveTarget::File(dir.file(QStringLiteral("qc.sqlite"))));
    ArchiveCounts counts;
    if (!Add(db, Dataset(0, kJudged, 1), counts)) {
        state.SkipWithError("archive not written");
        return;
    }
    const QcControl control = Control();
    QcStore store(db);
    for (auto _ : state) {
        QList<QcRecord> records;
        store.Records(control, records);
        benchmark::DoNotOptimize(records.size());
    }
    state.SetItemsProcessed(state.iterations() * kJudged);
}

// What an import of 2 000 records (one in 20 a control point) waits between the archive's
// commit and the banner: its new points judged with their series' history (10⁴ points among
// 2×10⁵ records), in an archive that knows the control.
void BM_JudgeAnImport(benchmark::State& state) {
    constexpr int kImport = 2000;
    constexpr int kHistory = 200000;
    TempDir dir;
    ArchiveDatabase db;
    db.Open(ArchiveTarget::File(dir.file(QStringLiteral("qc.sqlite"))));
    ArchiveCounts counts;
    QcControl control = Control();
    if (!Add(db, Dataset(0, kHistory, 20), counts) ||
        !QcStore(db).Define(control, control.versions[0])) {
        state.SkipWithError("archive not written");
        return;
    }
    int next = kHistory;
    for (auto _ : state) {
        state.PauseTiming();
        QcImportCheck check(db);
        check.Begin();
        ArchiveCounts added;
        Add(db, Dataset(next, kImport, 20), added);
        next += kImport;
        state.ResumeTiming();
        QcImportVerdict verdict;
        if (!check.Judge(added.imports, verdict) || verdict.points != kImport / 20) {
            state.SkipWithError("the import's points not judged");
            return;
        }
    }
}

void BM_PaintChart(benchmark::State& state) {
    const QcControl control = Control();
    QcChartView view;
    view.SetJudgement(control, QcJudge::Judge(control, Records(kCharted)));
    QImage image(1200, 500, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        view.Render(painter, QRectF(image.rect()));
    }
}

} // namespace

BENCHMARK(BM_JudgeSeries)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadPointsFromArchive)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_JudgeAnImport)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BM_PaintChart)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
