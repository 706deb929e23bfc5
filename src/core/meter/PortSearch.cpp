#include "app/ErrorTrap.h"
#include "meter/AnswerEnd.h"
#include "meter/MeterCommands.h"
#include "meter/SerialLink.h"

#include <QElapsedTimer>
#include <QScopedValueRollback>
#include <algorithm>

// The port search: every baud rate in turn, at each rate every existing port at once.

namespace {

const QStringList kBaudRates = {QStringLiteral("4800"), QStringLiteral("19200"),
                                QStringLiteral("9600"), QStringLiteral("2400"),
                                QStringLiteral("1200")};
constexpr int kMaxPorts = 256;
constexpr int kSearchAnswerTime_s = 1;
const QString kProbe = MeterCommand::kOpen + QStringLiteral("\r\n");

} // namespace

bool SerialLink::COMScanPorts(int& intPortNum, QString& strBaudrate) {
    m_reportedThisCommand.clear();
    return ScanPorts(intPortNum, strBaudrate);
}

bool SerialLink::COMScanPortsAgain(int& intPortNum, QString& strBaudrate) {
    return ScanPorts(intPortNum, strBaudrate);
}

bool SerialLink::ScanPorts(int& intPortNum, QString& strBaudrate) {
    intPortNum = 0;
    strBaudrate.clear();
    if (m_waiting) {
        return false;
    }
    const QScopedValueRollback<bool> waiting(m_waiting, true);
    m_active = true;
    m_stopped = false;
    m_answerTime_s = kSearchAnswerTime_s;
    const bool found = Trapped(m_ui, false, [&] {
        m_catalogue.Refresh();
        for (const QString& rate : kBaudRates) {
            if (!m_active) {
                break;
            }
            m_ui.Yield();
            if (ProbePortsAtBaud(intPortNum, rate)) {
                strBaudrate = rate;
                return true;
            }
        }
        return false;
    });
    m_active = false;
    return found;
}

bool SerialLink::ProbePortsAtBaud(int& intPortNum, const QString& baud) {
    intPortNum = 0;
    if (!CloseAllPorts()) {
        return false;
    }
    const std::vector<int> probed = SendProbes(baud);
    const int answered = LastAnswering(probed);
    CloseAllPorts();
    if (answered < 0) {
        return false;
    }
    intPortNum = m_instances[answered].portNumber;
    return OpenPort(0, intPortNum, baud);
}

std::vector<int> SerialLink::SendProbes(const QString& baud) {
    std::vector<int> probed;
    QString portList;
    std::size_t k = 0;
    const int last = std::min(kMaxPorts, m_catalogue.Count());
    for (int n = 1; n <= last && m_active; ++n) {
        m_ui.Yield();
        if (!m_catalogue.PortExists(n)) {
            continue;
        }
        portList += m_catalogue.DisplayName(n) + QLatin1Char(' ');
        if (m_statusHook) {
            m_statusHook(portList, baud + QStringLiteral(" Baud"));
        }
        if (k >= m_instances.size()) {
            m_instances.push_back({m_makePort(), 0});
        }
        const int index = static_cast<int>(k++);
        if (OpenPort(index, n, baud) && m_instances[index].port->Write(kProbe)) {
            probed.push_back(index);
        }
    }
    return probed;
}

int SerialLink::LastAnswering(const std::vector<int>& probed) {
    std::vector<QString> answers(probed.size());
    std::vector<bool> answered(probed.size(), false);
    std::size_t pending = probed.size();
    QElapsedTimer clock;
    clock.start();
    while (m_active && pending > 0) {
        for (std::size_t i = 0; i < probed.size(); ++i) {
            if (!answered[i]) {
                answers[i] += m_instances[probed[i]].port->ReadAll();
            }
        }
        // A terminator read after the deadline is too late, as in a single wait.
        if (DeadlinePassed(clock.elapsed())) {
            break;
        }
        for (std::size_t i = 0; i < probed.size(); ++i) {
            if (!answered[i] && AnswerEnd::IsTerminated(answers[i])) {
                answered[i] = true;
                --pending;
            }
        }
        const int slice =
            std::max(1, kPollMs / static_cast<int>(std::max<std::size_t>(pending, 1)));
        for (std::size_t i = 0; i < probed.size() && pending > 0; ++i) {
            if (!answered[i]) {
                m_instances[probed[i]].port->WaitForData(slice);
            }
        }
        m_ui.Yield();
    }
    if (!m_active) {
        return -1;
    }
    // As when each port is waited for in turn, the last port that answered wins.
    for (std::size_t i = probed.size(); i-- > 0;) {
        if (answered[i]) {
            return probed[i];
        }
    }
    return -1;
}
