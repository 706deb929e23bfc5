#include "engine/LineAssembler.h"

QList<QByteArray> LineAssembler::Feed(const QByteArray& bytes) {
    m_pending += bytes;
    QList<QByteArray> lines;
    qsizetype end = 0;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        while (line.endsWith('\r')) {
            line.chop(1);
        }
        lines << line;
    }
    if (m_pending.size() > kMaxLine) {
        m_pending.clear();
    }
    return lines;
}
