// The measurement archive on its default engine (an SQLite file): adding a large import,
// adding it again, querying a period and a program among a million records, and the size
// of the file against the dataset files it holds.
#include "app/Services.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveQuery.h"
#include "archive/ArchiveWriter.h"
#include "support/DatasetFiles.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <benchmark/benchmark.h>

namespace {

constexpr int kImport = 100000;
constexpr int kArchived = 1000000;

// Dataset file `index` of `count` records (a meter's memory read on one day), opened as
// the program opens it.
MValSet OpenDataset(Services& services, const TempDir& dir, int index, int count,
                    qint64& fileBytes) {
    const QString path = dir.file(QStringLiteral("dataset-%1.csv").arg(index));
    WritePhotometerFile(path, QStringLiteral("ZV-0042"),
                        ArchivePhotometerRecords(index * count, count));
    fileBytes += QFileInfo(path).size();
    MValSet set;
    services.measVal.OpenFile(set, path);
    return set;
}

// The services a dataset file is opened with, and a folder for the files.
struct Setting {
    ScriptedUi ui;
    Services services{ui, std::make_unique<ScriptedMeterLink>()};
    TempDir dir;
    qint64 fileBytes = 0;

    MValSet Dataset(int index) { return OpenDataset(services, dir, index, kImport, fileBytes); }
};

qint64 ArchiveBytes(const QString& path) {
    return QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size();
}

void BM_AddImport(benchmark::State& state) {
    Setting s;
    const MValSet set = s.Dataset(0);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ArchiveDatabase db;
        db.Open(ArchiveTarget::File(s.dir.file(QStringLiteral("a%1.sqlite").arg(++round))));
        state.ResumeTiming();
        ArchiveCounts counts;
        if (!ArchiveWriter(db).Add(s.services.device, set, QString(), counts) ||
            counts.added != kImport) {
            state.SkipWithError("not every record added");
        }
    }
}

void BM_AddSameImportAgain(benchmark::State& state) {
    Setting s;
    const MValSet set = s.Dataset(0);
    ArchiveDatabase db;
    db.Open(ArchiveTarget::File(s.dir.file(QStringLiteral("a.sqlite"))));
    ArchiveCounts counts;
    ArchiveWriter(db).Add(s.services.device, set, QString(), counts);
    for (auto _ : state) {
        if (!ArchiveWriter(db).Add(s.services.device, set, QString(), counts) ||
            counts.added != 0) {
            state.SkipWithError("records added twice");
        }
    }
}

// A million records from ten dataset files of a year's measurements; the query takes one
// week and one of the ten programs (about 2000 records).
void BM_QueryPeriodAndProgram(benchmark::State& state) {
    Setting s;
    const QString path = s.dir.file(QStringLiteral("a.sqlite"));
    {
        // Closed afterwards, so that the journal is written back into the file.
        ArchiveDatabase fill;
        fill.Open(ArchiveTarget::File(path));
        for (int i = 0; i < kArchived / kImport; ++i) {
            ArchiveCounts counts;
            ArchiveWriter(fill).Add(s.services.device, s.Dataset(i), QString(), counts);
        }
    }
    const qint64 archiveBytes = ArchiveBytes(path);
    ArchiveDatabase db;
    db.Open(ArchiveTarget::File(path));
    ArchiveFilter filter;
    filter.from = QDate(2024, 5, 1);
    filter.to = QDate(2024, 5, 7);
    filter.program = 304;
    qint64 found = 0;
    for (auto _ : state) {
        QList<ArchivedRecord> records;
        ArchiveQuery(db).Records(filter, records);
        found = records.size();
    }
    state.counters["records"] = double(found);
    state.counters["archive_to_files"] = double(archiveBytes) / double(s.fileBytes);
}

} // namespace

BENCHMARK(BM_AddImport)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AddSameImportAgain)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QueryPeriodAndProgram)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
