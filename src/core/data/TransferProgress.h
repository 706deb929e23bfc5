#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QStringView>
#include <functional>

// Counts the records of a data memory answer while it arrives, piece by piece, and tells
// the listener the count and the elapsed time at most every `intervalMs`. A record is a
// line of at least two characters: the answer's opening line break and its "!" end line
// are no records, as for the record walk.
class TransferProgress {
public:
    using Listener = std::function<void(qsizetype records, qint64 elapsedMs)>;

    explicit TransferProgress(Listener listener, qint64 intervalMs = 250);

    void Feed(QStringView piece);
    qsizetype Records() const { return m_records; }

private:
    Listener m_listener;
    qint64 m_intervalMs;
    QElapsedTimer m_clock;
    qint64 m_lastReportMs = -1; // none yet: the first piece is reported at once
    qsizetype m_records = 0;
    qsizetype m_lineLength = 0; // characters of the current line before its CR LF
};

// "1234 enregistrements reçus en 1:05": what a running transfer shows its user.
QString TransferProgressText(qsizetype records, qint64 elapsedMs);
