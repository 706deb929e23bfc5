// The document window with large datasets: opening and showing a dataset file, and an
// import of the meter's data memory from the emulator at 19200 baud.
#include "app/Services.h"
#include "app/TextTables.h"
#include "app/Windows1252.h"
#include "meter/SerialLink.h"
#include "support/MeterSim.h"
#include "support/ScriptedMeterLink.h"
#include "support/ScriptedUi.h"
#include "ui/data/MValTableModel.h"
#include "ui/data/frmDocument.h"
#include "ui/shell/frmMain.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTableView>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <memory>
#include <unistd.h>
#include <utility>

namespace {

// A photometer record of about 85 characters, with the degree sign and accents a real
// meter's records carry (the file is Windows-1252); the numbers change from record to record.
QString Record(int i) {
    return QStringLiteral("%1;12.03.24;10:%2:%3;%4;%5;Dureté;;1:1;%6;°dH;OK;;;;01.03.24;09:00")
        .arg(i % 32767 + 1)
        .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(i % 60, 2, 10, QLatin1Char('0'))
        .arg(i % 500)
        .arg(900 + i % 100)
        .arg(i % 1000 * 0.0021, 0, 'f', 3);
}

// A dataset of `count` records as an import gives it.
MValSet Dataset(int count) {
    QString records;
    records.reserve(qsizetype(count) * 84 + 8);
    records += QStringLiteral("\r\n");
    for (int i = 0; i < count; ++i) {
        records += Record(i);
        records += QStringLiteral("\r\n");
    }
    records += QStringLiteral("!\r\n>");
    MValSet set;
    set.strMVals = records;
    set.strMeter = QStringLiteral("Zentravox");
    set.strSerNo = QStringLiteral("ZV-0042");
    set.strUser = QStringLiteral("bench");
    return set;
}

// The dataset file of `count` records, written once per size.
QString DatasetFile(Services& services, int count) {
    static QTemporaryDir dir;
    static std::map<int, QString> files;
    if (const auto found = files.find(count); found != files.end()) {
        return found->second;
    }
    const QString path = dir.filePath(QStringLiteral("dataset-%1.csv").arg(count));
    files[count] = services.measVal.SaveFile(Dataset(count), path) ? path : QString();
    return files[count];
}

// The resident memory's peak since the last reset, in bytes.
qint64 PeakResident() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
        }
    }
    return 0;
}

qint64 ResetPeakResident() {
    // Qt would open the file for truncation, which the system refuses.
    const int fd = ::open("/proc/self/clear_refs", O_WRONLY);
    if (fd >= 0) {
        // Where the kernel refuses, the peak is the process's whole peak: still an upper bound.
        [[maybe_unused]] const ssize_t written = ::write(fd, "5", 1);
        ::close(fd);
    }
    return PeakResident();
}

// The floor of opening a dataset file: reading its bytes and decoding them once.
void BM_ReadAndDecodeDatasetFile(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    ScriptedUi ui;
    Services services(ui, std::make_unique<ScriptedMeterLink>());
    const QString path = DatasetFile(services, count);
    for (auto _ : state) {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QString text = Windows1252::Decode(file.readAll());
        benchmark::DoNotOptimize(text.constData());
    }
    state.counters["MB"] = double(QFileInfo(path).size()) / 1e6;
    state.SetItemsProcessed(state.iterations() * count);
}

// Saving a dataset of 10^6 records, without a progress (0) and with one that does what the
// document window's does but for the widgets: the percent text and a yield (1). CPU time,
// so that the disk's sync (the same in both) does not hide the difference.
void BM_SaveDatasetFile(benchmark::State& state) {
    constexpr int kRecords = 1000000;
    static const MValSet set = Dataset(kRecords);
    ScriptedUi ui;
    Services services(ui, std::make_unique<ScriptedMeterLink>());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("saved.csv"));
    int told = 0;
    if (state.range(0) != 0) {
        services.measVal.SetProgress([&](qint64 done, qint64 total) {
            benchmark::DoNotOptimize(LoadResString(1570).arg(path).arg(done * 100 / total));
            ui.Yield();
            ++told;
            return true;
        });
    }
    for (auto _ : state) {
        if (!services.measVal.SaveFile(set, path)) {
            state.SkipWithError("the dataset file was not saved");
            return;
        }
    }
    state.counters["told"] = double(told) / double(state.iterations());
    state.counters["MB"] = double(QFileInfo(path).size()) / 1e6;
    state.SetItemsProcessed(state.iterations() * kRecords);
}

// File > Open of a dataset file: the document reads it, fills its header and grid, and the
// window paints the first screen of the table.
void BM_OpenAndShowDatasetFile(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    ScriptedUi ui;
    frmMain main(ui, [](Ui&) { return std::make_unique<ScriptedMeterLink>(); });
    main.resize(1200, 800);
    main.show();
    const QString path = DatasetFile(main.services(), count);
    // What the first open adds to the resident memory at its peak, against the file's size.
    main.OpenDocument(QString());
    QApplication::processEvents();
    const qint64 before = ResetPeakResident();
    bool first = true;
    for (auto _ : state) {
        main.OpenDocument(path);
        frmDocument* document = main.ActiveDocument();
        QApplication::processEvents();
        document->hfgMVals->viewport()->repaint();
        if (path.isEmpty() || !ui.messages.isEmpty() || document->GridModel().rowCount() != count) {
            state.SkipWithError(
                ("the dataset file did not open: " + ui.MessageTexts().join(QLatin1Char('|')))
                    .toStdString()
                    .c_str());
            return;
        }
        if (std::exchange(first, false)) {
            state.counters["peak_x_file"] =
                double(PeakResident() - before) / double(QFileInfo(path).size());
        }
    }
    state.SetItemsProcessed(state.iterations() * count);
    main.close();
}

// Import through the document window: wait dialog, U.400, the whole data memory of 2000
// photometer records at 19200 baud, the grid. The line needs 10 bit times per character
// (commands and answers); the import should take next to nothing beyond that.
void BM_ImportFromEmulatorAt19200(benchmark::State& state) {
    constexpr int kRecords = 2000;
    constexpr double kBaud = 19200;
    MeterSim sim({QStringLiteral("--baud"), QStringLiteral("19200"), QStringLiteral("--records"),
                  QString::number(kRecords)});
    ScriptedUi ui;
    frmMain main(ui, [&](Ui& linkUi) { return MakeSerialLink(linkUi, {sim.device()}); });
    main.show();
    QString model;
    QString serial;
    if (sim.device().isEmpty() || main.services().device.Recognise(model, serial, false) != 0) {
        state.SkipWithError("the emulated meter was not found");
        return;
    }
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        main.ActiveDocument()->MenuImport();
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        frmDocument& document = *main.ActiveDocument();
        const QString& answer = document.MVals().strMVals;
        if (!ui.messages.isEmpty() || document.GridModel().rowCount() != kRecords) {
            const QString why = QStringLiteral("the import failed: %1 rows; %2")
                                    .arg(document.GridModel().rowCount())
                                    .arg(ui.MessageTexts().join(QStringLiteral(" | ")));
            state.SkipWithError(why.toStdString().c_str());
            return;
        }
        state.SetIterationTime(seconds);
        // "U.400" CR LF and "U.581" CR LF out, the short U.400 answer and the memory back.
        const double characters = 2 * 7 + 6 + static_cast<double>(answer.size());
        const double lineSeconds = characters * 10 / kBaud;
        state.counters["chars"] = characters;
        state.counters["line_s"] = lineSeconds;
        state.counters["over_line_pct"] = (seconds / lineSeconds - 1) * 100;
        document.SetModified(false);
    }
    main.close();
}

} // namespace

BENCHMARK(BM_ReadAndDecodeDatasetFile)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_OpenAndShowDatasetFile)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_SaveDatasetFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportFromEmulatorAt19200)->Iterations(1)->Unit(benchmark::kSecond)->UseManualTime();

// A private home (the main window keeps its placement and work directory there) and the
// offscreen platform unless a display was asked for.
int main(int argc, char** argv) {
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/mervex-bench-XXXXXX"));
    const QByteArray root = home.path().toLocal8Bit();
    setenv("HOME", root.constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/.config").constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/.local/share").constData(), 1);
    setenv("XDG_RUNTIME_DIR", (root + "/runtime").constData(), 1);
    QDir().mkpath(home.path() + QStringLiteral("/runtime"));
    QFile::setPermissions(home.path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
