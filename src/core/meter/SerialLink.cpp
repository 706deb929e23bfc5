#include "meter/SerialLink.h"

#include "app/CIni.h"
#include "app/ErrorTrap.h"
#include "app/RunTimeErrors.h"
#include "meter/AnswerEnd.h"

#include <QElapsedTimer>
#include <QScopedValueRollback>

namespace {

QString OpenErrorText(const QString& device, const SerialPort& port) {
    QString text = RunTimeText(RtError::PortCannotOpen).arg(device, port.ErrorString());
    switch (port.Error()) {
    case SerialPortError::PermissionDenied:
        text += RunTimeText(RtError::PortNoAccess).arg(device);
        break;
    case SerialPortError::Busy:
        text += RunTimeText(RtError::PortBusy);
        break;
    default:
        break;
    }
    return text;
}

// Every answer opens with CR LF. Characters before that belong to no answer: what a meter
// sent after its previous terminator arrives after the line was cleared for this command,
// and would otherwise pass for the start of this answer.
QString WithoutStrayPrefix(const QString& answer) {
    const qsizetype start = answer.indexOf(QLatin1String("\r\n"));
    return start > 0 ? answer.mid(start) : answer;
}

} // namespace

SerialLink::SerialLink(Ui& ui, PortCatalogue catalogue, PortMaker makePort)
    : m_ui(ui), m_catalogue(std::move(catalogue)), m_makePort(std::move(makePort)) {
    m_instances.push_back({m_makePort(), 0});
}

SerialLink::~SerialLink() {
    CloseAllPorts();
}

bool SerialLink::DeadlinePassed(qint64 elapsedMs) const {
    return elapsedMs > qint64(m_answerTime_s) * 1000;
}

void SerialLink::OpenOrThrow(int index, int port, const QString& baud) {
    Instance& instance = m_instances[index];
    if (!ReuseOpen(instance, port, baud)) {
        OpenDevice(instance, port);
        if (!instance.port->Configure(baud)) {
            ThrowBaudError(instance, baud);
        }
    }
    instance.port->Clear();
}

bool SerialLink::ReuseOpen(Instance& instance, int port, const QString& baud) {
    SerialPort& serial = *instance.port;
    if (serial.IsOpen() && instance.portNumber == port && !serial.Lost()) {
        if (serial.Configure(baud)) {
            return true;
        }
        // Setting up the line is often the first use of a port whose device went away
        // while it was idle (unplugged and plugged in again, emulator restarted).
        if (!serial.Lost()) {
            ThrowBaudError(instance, baud);
        }
    }
    if (serial.IsOpen()) {
        serial.Close();
    }
    return false;
}

void SerialLink::OpenDevice(Instance& instance, int port) {
    instance.portNumber = port;
    instance.lossReported = false;
    const QString device = m_catalogue.Device(port);
    if (device.isEmpty()) {
        throw MervexError(RunTimeText(RtError::NoSuchPort).arg(port));
    }
    if (!instance.port->Open(device)) {
        throw MervexError(OpenErrorText(device, *instance.port));
    }
}

void SerialLink::ThrowBaudError(const Instance& instance, const QString& baud) const {
    throw MervexError(
        RunTimeText(RtError::PortBaudFailed)
            .arg(m_catalogue.Device(instance.portNumber), baud, instance.port->ErrorString()));
}

void SerialLink::ReportLoss(Instance& instance) {
    if (!instance.lossReported) {
        instance.lossReported = true;
        ReportError(m_ui,
                    RunTimeText(RtError::PortGone).arg(m_catalogue.Device(instance.portNumber)));
    }
}

bool SerialLink::OpenPort(int index, int port, const QString& baud) {
    try {
        OpenOrThrow(index, port, baud);
        return true;
    } catch (const MervexError& e) {
        ReportOpenFailure(e.Description());
    } catch (...) {
        ReportError(m_ui, DescribeCurrentException());
    }
    return false;
}

void SerialLink::ReportOpenFailure(const QString& text) {
    // A port that cannot be opened stays so at every baud rate, in the search's second pass
    // and in a conversation's second attempt: one command says it once.
    if (!m_reportedThisCommand.contains(text)) {
        m_reportedThisCommand.insert(text);
        ReportError(m_ui, text);
    }
}

bool SerialLink::CloseAllPorts() {
    for (Instance& instance : m_instances) {
        if (instance.port->IsOpen()) {
            instance.port->Close();
        }
    }
    return true;
}

bool SerialLink::WaitForAnswer(QString& strAnswer, int index) {
    strAnswer.clear();
    SerialPort& port = *m_instances[index].port;
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
                ReportLoss(m_instances[index]);
                strAnswer.clear();
                return false;
            }
            port.WaitForData(kPollMs);
        }
        m_ui.Yield();
    }
}

bool SerialLink::SendOnce(const QString& strSend, QString& strAnswer) {
    strAnswer.clear();
    SerialPort& port = *m_instances[0].port;
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
    const QString name = m_catalogue.DisplayName(intPortNum);
    return name.isEmpty() ? MeterLink::PortName(intPortNum) : name;
}

bool SerialLink::COMInit(int intPortNum, const QString& strBaudrate, int intMaxAnswTime_s) {
    if (m_waiting) {
        return false;
    }
    m_answerTime_s = intMaxAnswTime_s;
    m_active = true;
    m_stopped = false;
    m_reportedThisCommand.clear();
    if (OpenPort(0, intPortNum, strBaudrate)) {
        return true;
    }
    m_instances[0].port->Close();
    return OpenPort(0, intPortNum, strBaudrate);
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
