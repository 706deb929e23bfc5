#pragma once

#include <QByteArray>
#include <QList>

// Cuts the received byte stream into command lines. A line ends with LF; the CR before it
// is not part of the command. An endless line without LF is dropped rather than kept.
class LineAssembler {
public:
    static constexpr qsizetype kMaxLine = 4096;

    QList<QByteArray> Feed(const QByteArray& bytes);
    void Clear() { m_pending.clear(); }

private:
    QByteArray m_pending;
};
