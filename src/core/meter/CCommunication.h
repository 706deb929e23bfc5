#pragma once

#include "meter/AnswerEnd.h"

#include <QString>

class MeterLink;

// Where the meter was found and how its answers end.
class CCommunication {
public:
    explicit CCommunication(MeterLink& link) : m_link(link) {}

    static inline const QString AnswerOK = AnswerEnd::OK;
    static inline const QString AnswerError = AnswerEnd::Error;
    static constexpr int LenAnswerEnd = AnswerEnd::Length;

    int COMPort = 1;
    QString Baudrate = QStringLiteral("4800");

    // One complete search and, when it finds nothing and was not stopped, a second one.
    bool Scan();

    static bool EndsWithOK(const QString& answer) { return AnswerEnd::IsOK(answer); }
    static bool EndsWithError(const QString& answer) { return AnswerEnd::IsError(answer); }
    static bool EndsWithTerminator(const QString& answer) {
        return AnswerEnd::IsTerminated(answer);
    }

private:
    MeterLink& m_link;
};
