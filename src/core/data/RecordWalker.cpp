#include "data/RecordWalker.h"

#include <QVarLengthArray>
#include <algorithm>

namespace {

constexpr QStringView kLineEnd = u"\r\n";
constexpr QChar kFieldSeparator = QLatin1Char(';');

// Where the first CR LF of `text` starts, -1 without one. The line feeds are looked for one
// character at a time, which the library does many characters per step; a search for the
// pair would go through a rolling hash of every character, the larger part of walking a
// million records.
qsizetype LineEndAt(QStringView text) {
    for (qsizetype lf = text.indexOf(kLineEnd[1], 1); lf > 0;
         lf = text.indexOf(kLineEnd[1], lf + 1)) {
        if (text[lf - 1] == kLineEnd[0]) {
            return lf - 1;
        }
    }
    return -1;
}

} // namespace

qsizetype RecordLineLength(QStringView text) {
    const qsizetype end = LineEndAt(text);
    return end < 2 ? -1 : end;
}

void SplitRecordLine(QStringView line, std::span<QStringView> fields) {
    QStringView rest = line;
    for (QStringView& field : fields) {
        const qsizetype sep = rest.indexOf(kFieldSeparator);
        if (sep < 0) {
            field = rest;
            rest = QStringView();
        } else {
            field = rest.left(sep);
            rest = rest.mid(sep + 1);
        }
    }
}

void SplitRecordLine(QStringView line, QStringList& fields, int intNum) {
    QVarLengthArray<QStringView, 16> views(std::max(intNum, 0));
    SplitRecordLine(line, std::span<QStringView>(views.data(), size_t(views.size())));
    for (int i = 0; i < intNum; ++i) {
        fields[i] = views[i].toString();
    }
}

RecordWalker::RecordWalker(const QString& strMVals) : m_text(strMVals) {}

bool RecordWalker::NextLine(QStringView& line) {
    if (m_done) {
        return false;
    }
    const QStringView rest = QStringView(m_text).mid(m_pos);
    if (rest.size() < 2) {
        m_done = m_failed = true;
        return false;
    }
    // The two characters in front of every record (the CR LF that precedes its line).
    const QStringView front = rest.mid(2);
    const qsizetype length = RecordLineLength(front);
    if (length < 0) {
        m_done = true;
        return false;
    }
    line = front.left(length);
    m_pos += 2 + length;
    ++m_recordsRead;
    return true;
}

bool RecordWalker::Next(QStringList& fields, int intNum) {
    QStringView line;
    if (!NextLine(line)) {
        return false;
    }
    const int count = std::max(intNum, 0);
    fields.resize(count);
    SplitRecordLine(line, fields, count);
    return true;
}
