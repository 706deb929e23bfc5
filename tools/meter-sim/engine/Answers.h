#pragma once

#include <QByteArray>
#include <QList>

// How the meter frames what it sends back: every answer opens with CR LF and ends in one
// of two six-character terminators.
namespace SimAnswer {

inline const QByteArray kOk = QByteArrayLiteral("\r\n!\r\n>");
inline const QByteArray kRefused = QByteArrayLiteral("\r\n?\r\n>");

// CR LF, the value, the OK terminator (an empty value still has its line).
inline QByteArray Value(const QByteArray& value) {
    return QByteArrayLiteral("\r\n") + value + kOk;
}

// Each line preceded by CR LF, then the OK terminator: no lines is the bare terminator.
inline QByteArray Lines(const QList<QByteArray>& lines) {
    QByteArray answer;
    for (const QByteArray& line : lines) {
        answer += QByteArrayLiteral("\r\n") + line;
    }
    return answer + kOk;
}

} // namespace SimAnswer
