#include "meter/SerialLink.h"

#include "app/CIni.h"
#include "app/ErrorTrap.h"
#include "app/RunTimeErrors.h"
#include "meter/AnswerEnd.h"

#include <QElapsedTimer>
#include <QScopedValueRollback>

namespace {

// Every answer opens with CR LF. Characters before that belong to no answer: what a meter
// sent after its previous terminator arrives after the line was cleared for this command,
// and would otherwise pass for the start of this answer.
QString WithoutStrayPrefix(const QString& answer) {
    const qsizetype start = answer.indexOf(QLatin1String("\r\n"));
    return start > 0 ? answer.mid(start) : answer;
}

} // namespace

SerialLink::SerialLink(Ui& ui, PortCatalogue catalogue, PortMaker makePort)
    : m_ui(ui), m_ports(ui, std::move(catalogue), std::move(makePort)) {}

SerialLink::~SerialLink() = default;

bool SerialLink::DeadlinePassed(qint64 elapsedMs) const {
    return elapsedMs > qint64(m_answerTime_s) * 1000;
}

bool SerialLink::COMScanPorts(int& intPortNum, QString& strBaudrate) {
    m_ports.ForgetReports();
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
    m_answerTime_s = PortSearch::kAnswerTime_s;
    const bool found = Trapped(m_ui, false, [&] { return m_search.Run(intPortNum, strBaudrate); });
    m_active = false;
    return found;
}

bool SerialLink::WaitForAnswer(QString& strAnswer, int index) {
    strAnswer.clear();
    SerialPort& port = m_ports.Port(index);
    if (!port.IsOpen()) {
        ReportError(m_ui, RunTimeText(RtError::PortNotOpen));
        return false;
    }
    const QScopedValueRollback<bool> waiting(m_waiting, true);
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (!m_active) {
            strAnswer.clear();
            return false;
        }
        if (AnswerEnd::IsTerminated(strAnswer)) {
            strAnswer = WithoutStrayPrefix(strAnswer);
            return true;
        }
        const QString piece = port.ReadAll();
        strAnswer += piece;
        Received(piece);
        if (DeadlinePassed(clock.elapsed())) {
            strAnswer.clear();
            return false;
        }
        if (!AnswerEnd::IsTerminated(strAnswer)) {
            // A vanished device ends the wait at once: nothing more can come.
            if (port.Lost()) {
                m_ports.ReportLoss(index);
                strAnswer.clear();
                return false;
            }
            port.WaitForData(SerialPorts::kPollMs);
        }
        m_ui.Yield();
    }
}

bool SerialLink::SendOnce(const QString& strSend, QString& strAnswer) {
    strAnswer.clear();
    SerialPort& port = m_ports.Port(0);
    if (!m_active) {
        return false; // stopped: nothing more goes to the meter
    }
    if (port.IsOpen() && !port.Lost()) {
        port.Clear();
        port.Write(strSend); // a lost command shows as a missing answer
    }
    if (!WaitForAnswer(strAnswer, 0)) {
        strAnswer.clear();
        return false;
    }
    return true;
}

bool SerialLink::COMSendAndReceive(const QString& strSend, QString& strAnswer) {
    strAnswer.clear();
    if (m_waiting) {
        return false;
    }
    return Trapped(m_ui, false, [&] {
        if (SendOnce(strSend, strAnswer) && !AnswerEnd::IsError(strAnswer)) {
            return true;
        }
        if (m_stopped) {
            return false; // the user ended the wait: no repeat behind their back
        }
        // Refused or unanswered: once more. A second refusal is an answer, too.
        return SendOnce(strSend, strAnswer);
    });
}

QString SerialLink::PortName(int intPortNum) const {
    const QString name = m_ports.Catalogue().DisplayName(intPortNum);
    return name.isEmpty() ? MeterLink::PortName(intPortNum) : name;
}

bool SerialLink::COMInit(int intPortNum, const QString& strBaudrate, int intMaxAnswTime_s) {
    if (m_waiting) {
        return false;
    }
    m_answerTime_s = intMaxAnswTime_s;
    m_active = true;
    m_stopped = false;
    m_ports.ForgetReports();
    if (m_ports.Open(0, intPortNum, strBaudrate)) {
        return true;
    }
    m_ports.Port(0).Close();
    return m_ports.Open(0, intPortNum, strBaudrate);
}

bool SerialLink::COMChangeAnswerTime(int intMaxAnswTime_s) {
    m_answerTime_s = intMaxAnswTime_s;
    return true;
}

bool SerialLink::COMDeinit() {
    m_active = false;
    return true;
}

bool SerialLink::COMStop() {
    m_active = false;
    m_stopped = true;
    return true;
}

bool SerialLink::COMContinue() {
    m_active = true;
    m_stopped = false;
    return true;
}

std::unique_ptr<SerialLink> MakeSerialLink(Ui& ui, const QStringList& onlyDevices) {
    if (!onlyDevices.isEmpty()) {
        return std::make_unique<SerialLink>(ui, PortCatalogue(onlyDevices, true));
    }
    CIni ini(ui);
    const QStringList extras = PortCatalogue::ParseExtraList(
        ini.Setting(QStringLiteral("Ports"), QStringLiteral("Extra"), QString()));
    return std::make_unique<SerialLink>(ui, PortCatalogue(extras, false));
}
