// How long the meter search takes: a failed search over silent ports (the cost must not
// grow with the number of ports) and a successful one against the meter emulator.

#include "app/Services.h"
#include "meter/SerialLink.h"
#include "support/MeterSim.h"
#include "support/ScriptedUi.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>
#include <memory>
#include <pty.h>
#include <unistd.h>
#include <vector>

namespace {

// Pseudo-terminals nobody answers on: serial ports without a meter.
class SilentPorts {
public:
    explicit SilentPorts(int count) {
        for (int i = 0; i < count; ++i) {
            int master = -1;
            int slave = -1;
            char name[128] = {};
            if (openpty(&master, &slave, name, nullptr, nullptr) == 0) {
                m_fds.push_back(master);
                m_fds.push_back(slave); // kept open so the node stays usable
                m_devices.append(QString::fromLocal8Bit(name));
            }
        }
    }
    ~SilentPorts() {
        for (const int fd : m_fds) {
            close(fd);
        }
    }
    SilentPorts(const SilentPorts&) = delete;
    SilentPorts& operator=(const SilentPorts&) = delete;
    const QStringList& devices() const { return m_devices; }

private:
    std::vector<int> m_fds;
    QStringList m_devices;
};

// One complete search with identification, as the program runs it.
short Recognise(const QStringList& devices) {
    ScriptedUi ui;
    Services services(ui, MakeSerialLink(ui, devices));
    QString model;
    QString serial;
    return services.device.Recognise(model, serial, false);
}

void BM_FailedSearch(benchmark::State& state) {
    SilentPorts ports(static_cast<int>(state.range(0)));
    if (ports.devices().size() != state.range(0)) {
        state.SkipWithError("cannot create pseudo-terminals");
        return;
    }
    for (auto _ : state) {
        if (Recognise(ports.devices()) != -1) {
            state.SkipWithError("a silent port answered");
        }
    }
}

void BM_SearchFindsMeterAt4800(benchmark::State& state) {
    MeterSim sim({QStringLiteral("--baud"), QStringLiteral("4800")});
    if (sim.device().isEmpty()) {
        state.SkipWithError("the meter emulator did not start");
        return;
    }
    for (auto _ : state) {
        if (Recognise({sim.device()}) != 0) {
            state.SkipWithError("the meter was not recognised");
        }
    }
}

// The data memory of 2000 records at 19200 baud: the wait loop must cost next to nothing
// beyond the time the characters need on the line (10 bit times each).
void BM_DataMemoryAt19200(benchmark::State& state) {
    MeterSim sim({QStringLiteral("--baud"), QStringLiteral("19200"), QStringLiteral("--records"),
                  QStringLiteral("2000")});
    ScriptedUi ui;
    const std::unique_ptr<SerialLink> link = MakeSerialLink(ui, {sim.device()});
    for (auto _ : state) {
        QString answer;
        link->COMInit(1, QStringLiteral("19200"), 4);
        link->COMSendAndReceive(QStringLiteral("U.400\r\n"), answer);
        link->COMChangeAnswerTime(600);
        QElapsedTimer clock;
        clock.start();
        const bool ok = link->COMSendAndReceive(QStringLiteral("U.581\r\n"), answer);
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        link->COMDeinit();
        if (!ok) {
            state.SkipWithError("no data memory");
            return;
        }
        state.SetIterationTime(seconds);
        const double lineSeconds = static_cast<double>(answer.size()) * 10 / 19200;
        state.counters["chars"] = static_cast<double>(answer.size());
        state.counters["line_s"] = lineSeconds;
        state.counters["over_line_pct"] = (seconds / lineSeconds - 1) * 100;
    }
}

} // namespace

BENCHMARK(BM_FailedSearch)->Arg(1)->Arg(8)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();
BENCHMARK(BM_SearchFindsMeterAt4800)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DataMemoryAt19200)->Iterations(1)->Unit(benchmark::kSecond)->UseManualTime();

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
