#include "calibration/ProtocolExchange.h"

#include "meter/CCommunication.h"
#include "meter/MeterCommands.h"
#include "meter/MeterLink.h"

namespace {

constexpr int kAnswerTime_s = 4;
const QString kLineEnd = QStringLiteral("\r\n");

// Closes the link when the conversation ends, whichever way it ends.
class OpenLink {
public:
    explicit OpenLink(MeterLink& link) : m_link(link) {}
    ~OpenLink() {
        if (!m_closed) {
            m_link.COMDeinit();
        }
    }
    OpenLink(const OpenLink&) = delete;
    OpenLink& operator=(const OpenLink&) = delete;

    bool Close() {
        m_closed = true;
        return m_link.COMDeinit();
    }

private:
    MeterLink& m_link;
    bool m_closed = false;
};

} // namespace

bool ExchangeProtocolCommand(MeterLink& link, const CCommunication& communication,
                             const QString& command, QString& strAnswer) {
    strAnswer.clear();
    if (!link.COMInit(communication.COMPort, communication.Baudrate, kAnswerTime_s)) {
        return false;
    }
    OpenLink open(link);
    QString greeting;
    const bool exchanged = link.COMSendAndReceive(MeterCommand::kOpen + kLineEnd, greeting) &&
                           link.COMSendAndReceive(command + kLineEnd, strAnswer);
    const bool closed = open.Close();
    return exchanged && closed;
}
