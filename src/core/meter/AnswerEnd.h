#pragma once

#include <QString>

// How every answer of the meter ends: "!" when the command was done, "?" when it was
// refused, each framed by CR LF and followed by the prompt.
namespace AnswerEnd {

inline const QString OK = QStringLiteral("\r\n!\r\n>");
inline const QString Error = QStringLiteral("\r\n?\r\n>");
constexpr int Length = 6;

inline bool IsOK(const QString& answer) {
    return answer.endsWith(OK);
}
inline bool IsError(const QString& answer) {
    return answer.endsWith(Error);
}
inline bool IsTerminated(const QString& answer) {
    return IsOK(answer) || IsError(answer);
}

} // namespace AnswerEnd
