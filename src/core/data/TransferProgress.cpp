#include "data/TransferProgress.h"

#include "app/TextTables.h"

TransferProgress::TransferProgress(Listener listener, qint64 intervalMs)
    : m_listener(std::move(listener)), m_intervalMs(intervalMs) {
    m_clock.start();
}

void TransferProgress::Feed(QStringView piece) {
    for (const QChar c : piece) {
        if (c == QLatin1Char('\n')) {
            if (m_lineLength >= 2) {
                ++m_records;
            }
            m_lineLength = 0;
        } else if (c != QLatin1Char('\r')) {
            ++m_lineLength;
        }
    }
    const qint64 now = m_clock.elapsed();
    if (m_listener && (m_lastReportMs < 0 || now - m_lastReportMs >= m_intervalMs)) {
        m_lastReportMs = now;
        m_listener(m_records, now);
    }
}

QString TransferProgressText(qsizetype records, qint64 elapsedMs) {
    const qint64 seconds = elapsedMs / 1000;
    const QString elapsed =
        QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return LoadResString(1290).arg(records).arg(elapsed);
}
