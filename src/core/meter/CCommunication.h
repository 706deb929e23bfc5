#pragma once

#include <QString>

class MeterLink;

// Where the meter was found and how its answers end.
class CCommunication {
public:
    explicit CCommunication(MeterLink& link) : m_link(link) {}

    static inline const QString AnswerOK = QStringLiteral("\r\n!\r\n>");
    static inline const QString AnswerError = QStringLiteral("\r\n?\r\n>");
    static constexpr int LenAnswerEnd = 6;

    int COMPort = 1;
    QString Baudrate = QStringLiteral("4800");

    // One complete search and, when it finds nothing and was not stopped, a second one.
    bool Scan();

    static bool EndsWithOK(const QString& answer) { return answer.endsWith(AnswerOK); }
    static bool EndsWithError(const QString& answer) { return answer.endsWith(AnswerError); }
    static bool EndsWithTerminator(const QString& answer) {
        return EndsWithOK(answer) || EndsWithError(answer);
    }

private:
    MeterLink& m_link;
};
