// Exporting a large photometer dataset to a spreadsheet file: in this process, as the
// command line program does it (wall time and peak memory of the whole run), and, when an
// office suite is installed, the suite converting the same dataset file.
#include "app/Services.h"
#include "app/Ui.h"
#include "data/CMeasVal.h"
#include "data/ExportDataset.h"
#include "data/MValSet.h"
#include "meter/MeterLink.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRecords = 60000;

// The desktop's behaviour where it matters here: Yield lets pending events run.
class BenchUi : public Ui {
public:
    MsgResult Message(const QString& text, const QString&, MsgIcon, MsgButtons,
                      MsgResult defaultButton) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return defaultButton;
    }
    std::optional<QString> SaveFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<QString> OpenFileDialog(const FileDialogRequest&) override { return {}; }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override {
        return {};
    }
    void Yield() override { QCoreApplication::processEvents(); }
};

class NoMeter : public MeterLink {
public:
    bool COMScanPorts(int&, QString&) override { return false; }
    bool COMInit(int, const QString&, int) override { return false; }
    bool COMSendAndReceive(const QString&, QString&) override { return false; }
    bool COMChangeAnswerTime(int) override { return false; }
    bool COMDeinit() override { return false; }
    bool COMStop() override { return false; }
    bool COMContinue() override { return false; }
    bool COMStopped() const override { return false; }
};

// Records as a photometer writes them; every fourth one has a second result. Record
// numbers stay within the 16-bit whole numbers of the NO column, as a meter's memory does.
QStringList PhotometerRecords(int count) {
    QStringList lines;
    lines.reserve(count);
    for (int i = 1; i <= count; ++i) {
        const QString second =
            i % 4 == 0 ? QStringLiteral("%1;mg/l;OK").arg(i % 97 * 0.013) : QStringLiteral(";;");
        lines << QStringLiteral(
                     "%1;%2.03.24;10:%3:%4;%5;%6;PO4-P;;1:1;%7;mg/l;OK;%8;01.03.24;09:00")
                     .arg((i - 1) % 32767 + 1)
                     .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                     .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
                     .arg(i % 60, 2, 10, QLatin1Char('0'))
                     .arg(i % 500)
                     .arg(900 + i % 100)
                     .arg(i % 1000 * 0.0021, 0, 'f', 3)
                     .arg(second);
    }
    return lines;
}

// One set of services and one dataset file for every benchmark of the run.
struct BenchData {
    BenchData() {
        mvals = QStringLiteral("\r\n") + PhotometerRecords(kRecords).join(QStringLiteral("\r\n")) +
                QStringLiteral("\r\n!\r\n>");
        datasetFile = dir.filePath(QStringLiteral("dataset.csv"));
        saved = services.measVal.SaveFile(mvals, kMeter, QStringLiteral("SN-0042"),
                                          QStringLiteral("Dupont"), when, datasetFile);
    }
    BenchUi ui;
    Services services{ui, std::make_unique<NoMeter>()};
    QTemporaryDir dir;
    QString mvals;
    QString datasetFile;
    const QString kMeter = QStringLiteral("Zentravox");
    const QDateTime when{QDate(2024, 3, 12), QTime(14, 5, 9)};
    bool saved = false;
};

BenchData& Data() {
    static BenchData data;
    return data;
}

void Finish(benchmark::State& state, const QString& xls) {
    state.SetItemsProcessed(state.iterations() * kRecords);
    state.counters["file_MiB"] = static_cast<double>(QFile(xls).size()) / (1024.0 * 1024.0);
}

// The dataset of a document window to a spreadsheet file of the type the name asks for.
void BM_ExportPhotometerRecords(benchmark::State& state, const QString& name) {
    BenchData& d = Data();
    MValSet set;
    set.strMVals = d.mvals;
    set.strMeter = d.kMeter;
    set.strSerNo = QStringLiteral("SN-0042");
    set.strUser = QStringLiteral("Dupont");
    set.curDate = d.when;
    const QString path = d.dir.filePath(name);
    for (auto _ : state) {
        if (!ExportDataset(d.services.exportExcel, d.services.exportXlsx, set, path)) {
            state.SkipWithError("export failed");
            return;
        }
    }
    Finish(state, path);
}
BENCHMARK_CAPTURE(BM_ExportPhotometerRecords, xls, QStringLiteral("export.xls"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ExportPhotometerRecords, xlsx, QStringLiteral("export.xlsx"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What `mervex-cli export` does: read the dataset file, then export it.
void BM_ExportPhotometerDatasetFile(benchmark::State& state, const QString& name) {
    BenchData& d = Data();
    const QString path = d.dir.filePath(name);
    for (auto _ : state) {
        MValSet set;
        if (!d.saved || d.services.measVal.OpenFile(set, d.datasetFile) != CMeasVal::kOpened ||
            !ExportDataset(d.services.exportExcel, d.services.exportXlsx, set, path)) {
            state.SkipWithError("export of the dataset file failed");
            return;
        }
    }
    Finish(state, path);
}
BENCHMARK_CAPTURE(BM_ExportPhotometerDatasetFile, xls, QStringLiteral("from-file.xls"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ExportPhotometerDatasetFile, xlsx, QStringLiteral("from-file.xlsx"))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

QString OfficeSuite() {
    for (const QString& name : {QStringLiteral("soffice"), QStringLiteral("libreoffice")}) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty()) {
            return found;
        }
    }
    return {};
}

// One program run as a separate process: its wall time and its peak resident memory (the
// largest of the process and the children it waited for).
struct ProcessRun {
    bool ok = false;
    double seconds = 0.0;
    double peakMiB = 0.0;
};

ProcessRun RunProcess(const QString& program, const QStringList& arguments) {
    std::vector<std::string> texts{program.toStdString()};
    for (const QString& argument : arguments) {
        texts.push_back(argument.toStdString());
    }
    std::vector<char*> argv;
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid) {
        return {};
    }
    return {WIFEXITED(status) && WEXITSTATUS(status) == 0, timer.nsecsElapsed() / 1e9,
            usage.ru_maxrss / 1024.0};
}

// A whole program run per iteration, timed by the benchmark (manual time) and with its
// peak memory as a counter.
void Report(benchmark::State& state, const ProcessRun& run, const QString& output) {
    if (!run.ok) {
        state.SkipWithError("the program failed");
        return;
    }
    state.SetIterationTime(run.seconds);
    state.counters["peak_MiB"] = run.peakMiB;
    state.counters["file_MiB"] = static_cast<double>(QFile(output).size()) / (1024.0 * 1024.0);
}

// `mervex-cli export` of the dataset file, as a user runs it.
void BM_CliExportsTheDatasetFile(benchmark::State& state, const QString& type) {
    BenchData& d = Data();
    const QString cli = QCoreApplication::applicationDirPath() + QStringLiteral("/mervex-cli");
    const QString out = d.dir.filePath(QStringLiteral("cli.") + type);
    for (auto _ : state) {
        const ProcessRun run = d.saved
                                   ? RunProcess(cli, {QStringLiteral("export"), d.datasetFile, out})
                                   : ProcessRun{};
        Report(state, run, out);
        if (!run.ok) {
            return;
        }
    }
}
BENCHMARK_CAPTURE(BM_CliExportsTheDatasetFile, xls, QStringLiteral("xls"))
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_CliExportsTheDatasetFile, xlsx, QStringLiteral("xlsx"))
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(3);

// The office suite converting the same dataset file (";"-separated, Windows-1252) to the
// same format, with a profile of its own that a first, untimed run has created.
void BM_OfficeSuiteConvertsTheDatasetFile(benchmark::State& state, const QString& office,
                                          const QString& type) {
    BenchData& d = Data();
    const QString outDir = d.dir.filePath(QStringLiteral("office"));
    const QStringList arguments = {QStringLiteral("-env:UserInstallation=file://") +
                                       d.dir.filePath(QStringLiteral("profile")),
                                   QStringLiteral("--headless"),
                                   QStringLiteral("--infilter=CSV:59,34,1,1"),
                                   QStringLiteral("--convert-to"),
                                   type,
                                   QStringLiteral("--outdir"),
                                   outDir,
                                   d.datasetFile};
    if (!d.saved || !RunProcess(office, arguments).ok) {
        state.SkipWithError("the office suite failed to convert");
        return;
    }
    for (auto _ : state) {
        const ProcessRun run = RunProcess(office, arguments);
        Report(state, run, outDir + QStringLiteral("/dataset.") + type);
        if (!run.ok) {
            return;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const QString office = OfficeSuite();
    if (office.isEmpty()) {
        std::fprintf(stderr, "No office suite installed (soffice, libreoffice): no comparison "
                             "with an office suite's conversion in this run.\n");
    } else {
        for (const char* type : {"xls", "xlsx"}) {
            benchmark::RegisterBenchmark(
                (std::string("BM_OfficeSuiteConvertsTheDatasetFile/") + type).c_str(),
                BM_OfficeSuiteConvertsTheDatasetFile, office, QString::fromLatin1(type))
                ->Unit(benchmark::kMillisecond)
                ->UseManualTime()
                ->Iterations(1);
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
