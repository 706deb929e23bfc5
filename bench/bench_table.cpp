// The table tools on large datasets: copying a selection, sorting by a value column,
// filtering, and the statistics per program.
#include "app/Services.h"
#include "data/ColumnSortKeys.h"
#include "data/RecordColumns.h"
#include "data/RecordFilter.h"
#include "data/TableCopy.h"
#include "data/ValueStatistics.h"
#include "qc/LimitFlags.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"

#include <QCollator>
#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <fstream>
#include <malloc.h>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kValueColumn = 8;

// Photometer records of six programs; every 40th value is a text such as "<0.05".
QString Record(int i) {
    static const char* const programs[][3] = {{"310", "NO3-N", "mg/l"},  {"320", "PO4-P", "mg/l"},
                                              {"330", "NH4-N", "mg/l"},  {"340", "COD", "mg/l"},
                                              {"370", "GH", "\u00b0dH"}, {"905", "NO3", "mg/l"}};
    const auto& p = programs[(i * 7) % 6];
    const QString value =
        i % 40 == 0 ? QStringLiteral("<0.05") : QString::number((i * 7919) % 15000 * 0.01, 'f', 2);
    return QStringLiteral("%1;%2.%3.24;10:%4:%5;%6;%7;%8;;1:1;%9;%10;OK;;;;01.03.24;09:00")
        .arg(i % 32767 + 1)
        .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
        .arg(i / 28 % 12 + 1, 2, 10, QLatin1Char('0'))
        .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(i % 60, 2, 10, QLatin1Char('0'))
        .arg(i % 500)
        .arg(QLatin1String(p[0]), QLatin1String(p[1]), value, QString::fromUtf8(p[2]));
}

// The dataset text and its record lines, made once per size as the document holds them.
struct Records {
    QString text;
    QList<QStringView> lines;
};

const Records& RecordsOf(int count) {
    static std::map<int, Records> made;
    Records& r = made[count];
    if (r.lines.isEmpty()) {
        QList<qsizetype> starts;
        for (int i = 0; i < count; ++i) {
            starts.append(r.text.size());
            r.text += Record(i);
            r.text += QStringLiteral("\r\n");
        }
        starts.append(r.text.size());
        for (int i = 0; i < count; ++i) {
            r.lines.append(QStringView(r.text).mid(starts[i], starts[i + 1] - starts[i] - 2));
        }
    }
    return r;
}

RecordLayout Columns() {
    return RecordLayout::Of(MeterFamily::Photometer);
}

// A memory figure of /proc/self/status in MB: "VmRSS:" now, "VmHWM:" the peak since the
// last reset of the peak.
double StatusMegabytes(const std::string& key) {
    // A stream, not QFile: /proc files report a size of 0.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(key, 0) == 0) {
            return std::stod(line.substr(key.size())) / 1024.0;
        }
    }
    return 0.0;
}

void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Select all and copy: every column of every record, with French decimals.
void BM_CopyAllRows(benchmark::State& state) {
    const Records& records = RecordsOf(int(state.range(0)));
    QList<CopyColumn> columns;
    const RecordLayout layout = Columns();
    for (int c = 0; c < layout.Count(); ++c) {
        columns.append({QStringLiteral("C%1").arg(c), layout.IsNumeric(c)});
    }
    const std::vector<quint32> selected(size_t(records.lines.size()), 0xffffu);
    for (auto _ : state) {
        const TableCopyText copy =
            CopyRecordCells(records.lines, selected, columns, QLatin1Char(','));
        benchmark::DoNotOptimize(copy.tsv.size());
    }
}

// A click on "Valeur 1": the column's keys and the order, the first sort of that column.
// Counter: the peak memory above the open document, in MB.
void BM_SortByValue(benchmark::State& state) {
    const Records& records = RecordsOf(int(state.range(0)));
    const RecordLayout layout = Columns();
    const QCollator collator;
    double above = 0.0;
    for (auto _ : state) {
        const double before = StatusMegabytes("VmRSS:");
        ResetPeak();
        const ColumnSortKeys keys(records.lines, kValueColumn, layout.IsNumeric(kValueColumn),
                                  collator);
        const std::vector<int> order = keys.Order(false);
        benchmark::DoNotOptimize(order.data());
        above = std::max(above, StatusMegabytes("VmHWM:") - before);
    }
    state.counters["MB_above"] = above;
}

// A program chosen in the filter bar with a text typed: the rows it keeps.
void BM_FilterProgramAndText(benchmark::State& state) {
    const Records& records = RecordsOf(int(state.range(0)));
    const RecordLayout layout = Columns();
    RecordFilter filter;
    filter.group = QStringLiteral("320");
    filter.text = QStringLiteral("4.2");
    for (auto _ : state) {
        const std::vector<int> rows = FilteredRows(records.lines, filter, layout);
        benchmark::DoNotOptimize(rows.data());
    }
}

// "hors limite" chosen in the filter bar: every record judged by the limits of its program
// in force on its date (three of the six programs have two versions each).
void BM_FilterBeyondLimit(benchmark::State& state) {
    const Records& records = RecordsOf(int(state.range(0)));
    const RecordLayout layout = Columns();
    QList<LimitValue> versions;
    for (const qint64 program : {310, 320, 330}) {
        for (const int month : {1, 7}) {
            LimitValue l;
            l.program = program;
            l.lower = 0.5;
            l.upper = 100.0 + month;
            l.validFrom = QDate(2024, month, 1);
            versions.append(l);
        }
    }
    const LimitFlags limits(versions);
    RecordFilter filter;
    filter.state = RecordFilter::State::BeyondLimit;
    for (auto _ : state) {
        const std::vector<int> rows = FilteredRows(records.lines, filter, layout, &limits);
        benchmark::DoNotOptimize(rows.data());
    }
}

void BM_StatisticsPerProgram(benchmark::State& state) {
    const Records& records = RecordsOf(int(state.range(0)));
    const RecordLayout layout = Columns();
    for (auto _ : state) {
        const QList<StatisticsRow> rows =
            ValueStatistics(records.lines, layout, kValueColumn, QString());
        benchmark::DoNotOptimize(rows.size());
    }
}

} // namespace

BENCHMARK(BM_CopyAllRows)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByValue)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterProgramAndText)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilterBeyondLimit)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatisticsPerProgram)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // Large blocks always come from and go back to the system, so that the resident memory
    // shows what a sort takes (glibc would otherwise keep freed blocks resident).
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
    mallopt(M_TRIM_THRESHOLD, 0);
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
