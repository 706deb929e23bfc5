#include "meter/PortSearch.h"

#include "app/Ui.h"
#include "meter/AnswerEnd.h"
#include "meter/MeterCommands.h"
#include "meter/SerialPorts.h"

#include <QElapsedTimer>
#include <algorithm>

namespace {

const QStringList kBaudRates = {QStringLiteral("4800"), QStringLiteral("19200"),
                                QStringLiteral("9600"), QStringLiteral("2400"),
                                QStringLiteral("1200")};
constexpr int kMaxPorts = 256;
const QString kProbe = MeterCommand::kOpen + QStringLiteral("\r\n");

} // namespace

bool PortSearch::Run(int& intPortNum, QString& strBaudrate) {
    m_ports.Catalogue().Refresh();
    for (const QString& rate : kBaudRates) {
        if (!m_running()) {
            break;
        }
        m_ui.Yield();
        if (ProbePortsAtBaud(intPortNum, rate)) {
            strBaudrate = rate;
            return true;
        }
    }
    return false;
}

bool PortSearch::ProbePortsAtBaud(int& intPortNum, const QString& baud) {
    intPortNum = 0;
    m_ports.CloseAll();
    const std::vector<int> probed = SendProbes(baud);
    const int answered = LastAnswering(probed);
    m_ports.CloseAll();
    if (answered < 0) {
        return false;
    }
    intPortNum = m_ports.PortNumber(answered);
    return m_ports.Open(0, intPortNum, baud);
}

std::vector<int> PortSearch::SendProbes(const QString& baud) {
    std::vector<int> probed;
    QString portList;
    int k = 0;
    const PortCatalogue& catalogue = m_ports.Catalogue();
    const int last = std::min(kMaxPorts, catalogue.Count());
    for (int n = 1; n <= last && m_running(); ++n) {
        m_ui.Yield();
        if (!catalogue.PortExists(n)) {
            continue;
        }
        portList += catalogue.DisplayName(n) + QLatin1Char(' ');
        if (m_statusHook) {
            m_statusHook(portList, baud + QStringLiteral(" Baud"));
        }
        if (k >= m_ports.Count()) {
            m_ports.Add();
        }
        const int index = k++;
        if (m_ports.Open(index, n, baud) && m_ports.Port(index).Write(kProbe)) {
            probed.push_back(index);
        }
    }
    return probed;
}

int PortSearch::LastAnswering(const std::vector<int>& probed) {
    std::vector<QString> answers(probed.size());
    std::vector<bool> answered(probed.size(), false);
    std::size_t pending = probed.size();
    QElapsedTimer clock;
    clock.start();
    while (m_running() && pending > 0) {
        for (std::size_t i = 0; i < probed.size(); ++i) {
            if (!answered[i]) {
                answers[i] += m_ports.Port(probed[i]).ReadAll();
            }
        }
        // A terminator read after the deadline is too late, as in a single wait.
        if (clock.elapsed() > qint64(kAnswerTime_s) * 1000) {
            break;
        }
        for (std::size_t i = 0; i < probed.size(); ++i) {
            if (!answered[i] && AnswerEnd::IsTerminated(answers[i])) {
                answered[i] = true;
                --pending;
            }
        }
        const int slice =
            std::max(1, SerialPorts::kPollMs / static_cast<int>(std::max<std::size_t>(pending, 1)));
        for (std::size_t i = 0; i < probed.size() && pending > 0; ++i) {
            if (!answered[i]) {
                m_ports.Port(probed[i]).WaitForData(slice);
            }
        }
        m_ui.Yield();
    }
    if (!m_running()) {
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
