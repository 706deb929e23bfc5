// The measurement archive on its default engine (an SQLite file): adding a large import,
// beside the floor of `sqlite3` importing the same rows into the same tables, adding records
// without a time, adding an import again, querying a period and a program among a million
// records, the size of the file against the dataset files it holds, and `mervex-cli archive
// query` writing a million records as CSV and JSON beside `sqlite3` writing the same SELECT.
#include "app/Services.h"
#include "archive/ArchiveDatabase.h"
#include "archive/ArchiveQuery.h"
#include "archive/ArchiveRecord.h"
#include "archive/ArchiveWriter.h"
#include "data/RecordWalker.h"
#include "meter/RecordLayout.h"
#include "support/DatasetFiles.h"
#include "support/PostgresServer.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

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

// Argument 1: the add as the program makes it, each import closed in the digest chain and
// the journal; 0: the same add without that evidence, what its cost is measured against.
ArchiveWriter::Tracing TracingOf(const benchmark::State& state) {
    return state.range(0) != 0 ? ArchiveWriter::Tracing::On : ArchiveWriter::Tracing::Off;
}

// The add with and without the evidence, in one run.
void TracedAndNot(benchmark::internal::Benchmark* b) {
    b->ArgName("traced")
        ->Arg(1)
        ->Arg(0)
        ->Iterations(3)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
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
        if (!ArchiveWriter(db, TracingOf(state)).Add(s.services.device, set, QString(), counts) ||
            counts.added != kImport) {
            state.SkipWithError("not every record added");
        }
    }
}

// The same rows as the archive stores them, as a CSV file for `sqlite3 .import` and `psql \copy`:
// meter 1, import 1, the key and every field the program stores beside the line.
void WriteFloorCsv(const QString& path, const MValSet& set, ArchiveDatabase& db) {
    const RecordLayout layout = RecordLayout::Of(MeterFamily::Photometer);
    const auto text = [](const QVariant& v) { return v.isNull() ? QString() : v.toString(); };
    QString csv;
    RecordWalker walker(set.strMVals);
    QStringView line;
    while (walker.NextLine(line)) {
        const ArchiveRecord r = ArchiveRecord::FromLine(line, layout);
        const QStringList fields = {QStringLiteral("1"),
                                    QStringLiteral("1"),
                                    ArchiveRecord::KeyOf(line),
                                    r.recordNumber ? QString::number(*r.recordNumber) : QString(),
                                    text(db.TimeValue(r.measuredAt)),
                                    text(db.InstantValue(r.measuredAt)),
                                    r.programNumber ? QString::number(*r.programNumber) : QString(),
                                    r.sampleId,
                                    ArchiveRecord::Folded(r.sampleId),
                                    r.citation,
                                    r.value1 ? QString::number(*r.value1) : QString(),
                                    r.value1Text,
                                    r.state1,
                                    r.value2 ? QString::number(*r.value2) : QString(),
                                    text(db.TimeValue(r.calibratedAt)),
                                    QLatin1Char('"') + r.rawLine + QLatin1Char('"')};
        csv += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv.toUtf8()) < 0) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

// Meter 1 and its import 1, which the floor's rows name.
void AddFloorMeterAndImport(ArchiveDatabase& db) {
    db.Exec(QStringLiteral("INSERT INTO meters (model, serial_number, column_kinds) "
                           "VALUES ('Zentravox', 'ZV-0042', '')"));
    db.Exec(QStringLiteral("INSERT INTO imports (meter_id, user_name, imported_at, archived_at, "
                           "record_count, added_count) VALUES (1, 'Marc', %1, %1, 0, 0)")
                .arg(db.IsPostgres() ? QStringLiteral("now()") : QStringLiteral("0")));
}

// A new archive whose meter 1 has import 1, closed, for the floor's `sqlite3`.
void NewFloorArchive(const QString& path) {
    ArchiveDatabase db;
    db.Open(ArchiveTarget::File(path));
    AddFloorMeterAndImport(db);
}

// The floor of BM_AddImport: `sqlite3` imports the rows into a staging table and inserts
// them into the archive's records, with its indexes and key, in one transaction.
void BM_AddImportFloor(benchmark::State& state) {
    Setting s;
    const MValSet set = s.Dataset(0);
    const QString csv = s.dir.file(QStringLiteral("floor.csv"));
    {
        ArchiveDatabase db;
        db.Open(ArchiveTarget::File(s.dir.file(QStringLiteral("times.sqlite"))));
        WriteFloorCsv(csv, set, db);
    }
    const QString columns = QStringLiteral(
        "import_id, meter_id, record_key, record_number, measured_at, measured_utc, "
        "program_number, sample_id, sample_id_folded, citation, value1, value1_text, state1, "
        "value2, calibrated_at, raw_line");
    const QString script =
        QStringLiteral(
            "PRAGMA cache_size=-65536;\nCREATE TABLE staging (%1);\n.mode csv\n.import %2 staging\n"
            "BEGIN;\nINSERT INTO records (%1) SELECT import_id, meter_id, record_key, "
            "NULLIF(record_number, ''), NULLIF(measured_at, ''), NULLIF(measured_utc, ''), "
            "NULLIF(program_number, ''), NULLIF(sample_id, ''), NULLIF(sample_id_folded, ''), "
            "NULLIF(citation, ''), NULLIF(value1, ''), NULLIF(value1_text, ''), "
            "NULLIF(state1, ''), NULLIF(value2, ''), NULLIF(calibrated_at, ''), raw_line "
            "FROM staging "
            "WHERE true ON CONFLICT (meter_id, record_key) DO NOTHING;\n"
            "DROP TABLE staging;\nCOMMIT;\nSELECT COUNT(*) FROM records;\n")
            .arg(columns, csv);
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString path = s.dir.file(QStringLiteral("floor%1.sqlite").arg(++round));
        NewFloorArchive(path);
        state.ResumeTiming();
        QProcess sqlite;
        sqlite.start(QStringLiteral("sqlite3"), {path});
        sqlite.write(script.toUtf8());
        sqlite.closeWriteChannel();
        sqlite.waitForFinished(-1);
        if (sqlite.exitCode() != 0 ||
            sqlite.readAllStandardOutput().trimmed() != QByteArray::number(kImport)) {
            state.SkipWithError(sqlite.readAllStandardError().constData());
        }
    }
}

// The benchmark's own PostgreSQL server (as the tests start theirs) and a new database on it
// for each round; nullptr, with the benchmark skipped, where no server can run.
PostgresServer* BenchServer(benchmark::State& state) {
    QString reason;
    PostgresServer* server = PostgresServer::Shared(reason);
    if (server == nullptr) {
        state.SkipWithError(qPrintable(reason));
    }
    return server;
}

ArchiveTarget NewServerArchive(PostgresServer& server) {
    static int counter = 0;
    const QString name = QStringLiteral("bench_%1").arg(++counter);
    if (!server.CreateDatabase(name)) {
        qFatal("%s", qPrintable(server.Reason()));
    }
    return *ArchiveTarget::Parse(server.Address(name));
}

void BM_AddImportPostgres(benchmark::State& state) {
    Setting s;
    const MValSet set = s.Dataset(0);
    PostgresServer* server = BenchServer(state);
    // Skipped before the loop, a benchmark never enters it.
    for (auto _ : state) {
        state.PauseTiming();
        ArchiveDatabase db;
        db.Open(NewServerArchive(*server));
        state.ResumeTiming();
        ArchiveCounts counts;
        if (!ArchiveWriter(db, TracingOf(state)).Add(s.services.device, set, QString(), counts) ||
            counts.added != kImport) {
            state.SkipWithError(qPrintable(db.Error()));
        }
    }
}

// The floor of BM_AddImportPostgres: `psql` copies the rows into a staging table and inserts
// them into the archive's records, with its indexes and key, in one transaction.
void BM_AddImportPostgresFloor(benchmark::State& state) {
    Setting s;
    const MValSet set = s.Dataset(0);
    PostgresServer* server = BenchServer(state);
    const QString csv = s.dir.file(QStringLiteral("floor.csv"));
    const QString columns = QStringLiteral(
        "import_id, meter_id, record_key, record_number, measured_at, measured_utc, "
        "program_number, sample_id, sample_id_folded, citation, value1, value1_text, state1, "
        "value2, calibrated_at, raw_line");
    const QString script =
        QStringLiteral("CREATE TEMP TABLE staging (import_id BIGINT, meter_id BIGINT, "
                       "record_key TEXT, record_number INTEGER, measured_at TIMESTAMP, "
                       "measured_utc TIMESTAMP, program_number INTEGER, sample_id TEXT, "
                       "sample_id_folded TEXT, citation TEXT, value1 DOUBLE PRECISION, "
                       "value1_text TEXT, state1 TEXT, value2 DOUBLE PRECISION, "
                       "calibrated_at TIMESTAMP, raw_line TEXT);\n"
                       "\\copy staging FROM '%2' WITH (FORMAT csv)\n"
                       "BEGIN;\nINSERT INTO records (%1) SELECT %1 FROM staging "
                       "ON CONFLICT (meter_id, record_key) DO NOTHING;\nCOMMIT;\n"
                       "SELECT COUNT(*) FROM records;\n")
            .arg(columns, csv);
    // Skipped before the loop, a benchmark never enters it.
    for (auto _ : state) {
        state.PauseTiming();
        ArchiveDatabase db;
        db.Open(NewServerArchive(*server));
        AddFloorMeterAndImport(db);
        if (!QFile::exists(csv)) {
            WriteFloorCsv(csv, set, db);
        }
        state.ResumeTiming();
        QProcess psql;
        psql.start(QStringLiteral("psql"),
                   {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-t"),
                    QStringLiteral("-A"), QStringLiteral("-v"), QStringLiteral("ON_ERROR_STOP=1"),
                    QStringLiteral("-d"), db.Target().Display()});
        psql.write(script.toUtf8());
        psql.closeWriteChannel();
        psql.waitForFinished(-1);
        if (psql.exitCode() != 0 ||
            psql.readAllStandardOutput().trimmed() != QByteArray::number(kImport)) {
            state.SkipWithError(psql.readAllStandardError().constData());
        }
    }
}

// Records of a meter whose clock is dead: no date and no time, told apart by their number,
// sample ID and value only.
MValSet UndatedDataset(int count) {
    MValSet set;
    set.strMeter = QStringLiteral("Zentravox");
    set.strSerNo = QStringLiteral("ZV-0042");
    set.strUser = QStringLiteral("Marc");
    QString text = QStringLiteral("\r\n");
    for (int i = 0; i < count; ++i) {
        text += QStringLiteral("%1;--.--.--;--:--;%2;300;NO3-N;;1:1;%3;mg/l;OK;;;;;\r\n")
                    .arg(i % 10000)
                    .arg(i)
                    .arg(i / 100.0, 0, 'f', 2);
    }
    set.strMVals = text + QStringLiteral("!\r\n>");
    return set;
}

void BM_AddUndated(benchmark::State& state) {
    const int count = int(state.range(0));
    const MValSet set = UndatedDataset(count);
    TempDir dir;
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ArchiveDatabase db;
        db.Open(ArchiveTarget::File(dir.file(QStringLiteral("u%1.sqlite").arg(++round))));
        state.ResumeTiming();
        ArchiveCounts counts;
        if (!ArchiveWriter(db).Add(set, RecordLayout::Of(MeterFamily::Photometer), QString(),
                                   counts) ||
            counts.added != count) {
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
// A million records from ten dataset files of a year's measurements, closed afterwards so
// that the journal is written back into the file; `fileBytes` adds up the dataset files.
void FillMillion(Setting& s, const QString& path) {
    ArchiveDatabase fill;
    fill.Open(ArchiveTarget::File(path));
    for (int i = 0; i < kArchived / kImport; ++i) {
        ArchiveCounts counts;
        ArchiveWriter(fill).Add(s.services.device, s.Dataset(i), QString(), counts);
    }
}

// The query takes one week and one of the ten programs (about 2000 records).
void BM_QueryPeriodAndProgram(benchmark::State& state) {
    Setting s;
    const QString path = s.dir.file(QStringLiteral("a.sqlite"));
    FillMillion(s, path);
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

// The default archive of a private data folder, holding a million records: made once for
// the export benchmarks, which run the command line as the user would.
struct MillionArchive {
    Setting s;
    QString path;

    MillionArchive() {
        // The command line's own data folder: its names and this private folder.
        qputenv("XDG_DATA_HOME", s.dir.file(QStringLiteral("data")).toLocal8Bit());
        QCoreApplication::setOrganizationName(QStringLiteral("Mervex"));
        QCoreApplication::setApplicationName(QStringLiteral("Mervex"));
        path = ArchiveTarget::DefaultFile().path;
        QDir().mkpath(QFileInfo(path).absolutePath());
        FillMillion(s, path);
    }
    static MillionArchive& Shared() {
        static MillionArchive archive;
        return archive;
    }
};

// Runs `program` with its standard output into `output` and returns its exit status and
// peak resident memory in bytes. GNU time starts it and reads its peak: a process started
// straight from this one would count this one's memory as its own (the kernel carries the
// peak of the memory a process had before exec into its count).
std::pair<int, qint64> RunMeasured(const QString& program, const QStringList& args,
                                   const QString& output) {
    const QString peakFile = output + QStringLiteral(".peak");
    QList<QByteArray> argBytes{"/usr/bin/time",      "-f", "%M", "-o", peakFile.toLocal8Bit(),
                               program.toLocal8Bit()};
    for (const QString& arg : args) {
        argBytes << arg.toLocal8Bit();
    }
    std::vector<char*> argv;
    for (QByteArray& arg : argBytes) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.toLocal8Bit().constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return {-1, 0};
    }
    int status = 0;
    waitpid(pid, &status, 0);
    QFile peak(peakFile);
    const qint64 kib = peak.open(QIODevice::ReadOnly) ? peak.readAll().trimmed().toLongLong() : 0;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, kib * 1024};
}

// `mervex-cli archive query` of the whole million as CSV or JSON, into a file.
void BM_QueryExportMillion(benchmark::State& state, const char* format) {
    MillionArchive& archive = MillionArchive::Shared();
    const QString out = archive.s.dir.file(QStringLiteral("out.%1").arg(QLatin1String(format)));
    qint64 peak = 0;
    for (auto _ : state) {
        const auto [status, rss] =
            RunMeasured(QCoreApplication::applicationDirPath() + QStringLiteral("/mervex-cli"),
                        {QStringLiteral("archive"), QStringLiteral("query"),
                         QStringLiteral("--format"), QLatin1String(format)},
                        out);
        peak = std::max(peak, rss);
        if (status != 0) {
            state.SkipWithError("mervex-cli failed");
        }
    }
    state.counters["peak_MB"] = double(peak) / 1e6;
    state.counters["MB_written"] = double(QFileInfo(out).size()) / 1e6;
}

// The floor: `sqlite3` writing the same SELECT of the stored columns as CSV (Mervex also
// splits each line into its fields and writes the times in ISO 8601).
void BM_QueryExportMillionFloor(benchmark::State& state) {
    MillionArchive& archive = MillionArchive::Shared();
    const QString out = archive.s.dir.file(QStringLiteral("floor.csv"));
    const QString time = QStringLiteral("strftime('%Y-%m-%d %H:%M:%S', %1, 'unixepoch')");
    const QString select =
        QStringLiteral("SELECT m.model, m.serial_number, i.user_name, %1, %2, r.record_number, "
                       "r.program_number, r.value1, r.value2, m.column_kinds, r.raw_line, r.id, "
                       "%3 FROM records r JOIN meters m ON m.id = r.meter_id JOIN imports i ON "
                       "i.id = r.import_id ORDER BY r.measured_at IS NULL, r.measured_at, r.id")
            .arg(time.arg(QStringLiteral("r.measured_at")),
                 time.arg(QStringLiteral("r.calibrated_at")),
                 time.arg(QStringLiteral("i.archived_at")));
    qint64 peak = 0;
    for (auto _ : state) {
        const auto [status, rss] = RunMeasured(
            QStringLiteral("sqlite3"),
            {QStringLiteral("-csv"), QStringLiteral("-header"), archive.path, select}, out);
        peak = std::max(peak, rss);
        if (status != 0) {
            state.SkipWithError("sqlite3 failed");
        }
    }
    state.counters["peak_MB"] = double(peak) / 1e6;
    state.counters["MB_written"] = double(QFileInfo(out).size()) / 1e6;
}

} // namespace

BENCHMARK(BM_AddImport)->Apply(TracedAndNot);
BENCHMARK(BM_AddImportFloor)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AddImportPostgres)->Apply(TracedAndNot);
BENCHMARK(BM_AddImportPostgresFloor)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AddUndated)
    ->Arg(30000)
    ->Arg(100000)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_AddSameImportAgain)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QueryPeriodAndProgram)->Unit(benchmark::kMillisecond)->UseRealTime();
// One run each, three times: the median is the figure.
BENCHMARK(BM_QueryExportMillionFloor)
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_QueryExportMillion, csv, "csv")
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_QueryExportMillion, json, "json")
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
