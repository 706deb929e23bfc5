#pragma once

#include <QString>

class MeterLink;
class CCommunication;

// One conversation for a protocol: open the link on the meter's port with an answer time
// of 4 s, the opening command, then `command` (CR LF appended to both). The link is closed again in
// every case once it was opened, also when an exception passes through. False when
// opening, either command or closing fails.
bool ExchangeProtocolCommand(MeterLink& link, const CCommunication& communication,
                             const QString& command, QString& strAnswer);
