#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <span>

// Length of the record line at the front of `text`, or -1 when the front holds no record:
// there is no CR LF, or the line before it is empty or one character long (the end marker
// "!" CR LF ">" ends every answer that way).
qsizetype RecordLineLength(QStringView text);

// Writes fields 0 .. intNum - 1 of a ";"-separated record line into `fields` (which must
// hold at least intNum elements): missing trailing fields come out empty, surplus ones
// are dropped.
void SplitRecordLine(QStringView line, QStringList& fields, int intNum);
// The same into views of the line, one per element of `fields`: no copy of any field.
void SplitRecordLine(QStringView line, std::span<QStringView> fields);

// Walks the records of a dataset in raw answer form, one per Next(). It gives exactly the
// records of the classic walk (drop two characters, take the record line off the front,
// repeat) without copying the remaining text per record, so a walk is linear in the size
// of the dataset.
class RecordWalker {
public:
    explicit RecordWalker(const QString& strMVals);

    // The next record split into intNum fields (`fields` is resized to intNum); false at
    // the end of the walk, and from then on.
    bool Next(QStringList& fields, int intNum);
    // The same walk giving the next record line unsplit; the view stays valid while the
    // walker lives.
    bool NextLine(QStringView& line);
    // True when the walk stopped because fewer than 2 characters were left where a record
    // should start (an empty or truncated dataset).
    bool Failed() const { return m_failed; }
    qsizetype RecordsRead() const { return m_recordsRead; }
    // How many characters of the text the walk has passed, for a progress.
    qsizetype Position() const { return m_pos; }

private:
    QString m_text; // shares the caller's data (implicit sharing), never modified
    qsizetype m_pos = 0;
    qsizetype m_recordsRead = 0;
    bool m_done = false;
    bool m_failed = false;
};
