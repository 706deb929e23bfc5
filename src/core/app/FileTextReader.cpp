#include "app/FileTextReader.h"

#include "app/Windows1252.h"

#include <QIODevice>
#include <QStringDecoder>
#include <algorithm>

namespace {

constexpr qint64 kBlockSize = 1024 * 1024;
constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";

bool IsAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The length of `bytes` without a UTF-8 sequence cut off at its end.
qsizetype CompleteUtf8Length(QByteArrayView bytes) {
    const qsizetype size = bytes.size();
    for (qsizetype i = size - 1; i >= 0 && i >= size - 4; --i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if ((c & 0xC0) == 0x80) {
            continue; // a continuation byte: its lead is further back
        }
        const qsizetype needed = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return size - i < needed ? i : size;
    }
    return size;
}

} // namespace

std::optional<QString> FileTextReader::Read(const Progress& progress) {
    m_text = QString();
    // Room for the text and for a few added carriage returns; pages never written to cost
    // no memory.
    m_text.reserve(m_size + m_size / 32 + 8);
    QByteArray carry;
    bool first = true;
    for (;;) {
        QByteArray block = m_in.read(kBlockSize);
        const bool last = block.isEmpty() || m_in.atEnd();
        block.prepend(carry);
        carry.clear();
        QByteArrayView bytes(block);
        if (first && bytes.startsWith(kUtf8Bom)) {
            m_mode = Mode::Utf8;
            bytes = bytes.sliced(kUtf8Bom.size());
        }
        first = false;
        if (m_mode == Mode::Ascii && !IsAscii(bytes)) {
            m_mode = Mode::Utf8Guess;
            m_guessByte = m_in.pos() - bytes.size();
            m_guessChars = m_text.size();
        }
        if (!last && (m_mode == Mode::Utf8 || m_mode == Mode::Utf8Guess)) {
            const qsizetype complete = CompleteUtf8Length(bytes);
            carry = bytes.sliced(complete).toByteArray();
            bytes.truncate(complete);
        }
        if (!Append(bytes)) {
            StartAgainAsWindows1252();
            continue;
        }
        if (progress && !progress(m_in.pos(), m_size)) {
            return std::nullopt;
        }
        if (last) {
            return std::move(m_text);
        }
    }
}

// Decodes `bytes`, a carriage return added before every line feed that has none.
bool FileTextReader::Append(QByteArrayView bytes) {
    qsizetype from = 0;
    for (qsizetype i = m_crLf ? bytes.indexOf('\n') : -1; i >= 0; i = bytes.indexOf('\n', i + 1)) {
        const char before = i > 0 ? bytes[i - 1] : m_previous;
        if (before != '\r') {
            if (!Decode(bytes.sliced(from, i - from))) {
                return false;
            }
            m_text.append(QLatin1Char('\r'));
            from = i;
        }
    }
    if (!Decode(bytes.sliced(from))) {
        return false;
    }
    if (!bytes.isEmpty()) {
        m_previous = bytes.back();
    }
    return true;
}

bool FileTextReader::Decode(QByteArrayView bytes) {
    const qsizetype at = m_text.size();
    m_text.resize(at + bytes.size()); // never more characters than bytes
    QChar* end = nullptr;
    if (m_mode == Mode::Ascii || m_mode == Mode::Windows1252) {
        end = Windows1252::DecodeInto(bytes, m_text.data() + at);
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        end = utf8.appendToBuffer(m_text.data() + at, bytes);
        if (utf8.hasError() && m_mode == Mode::Utf8Guess) {
            return false;
        }
    }
    m_text.truncate(end - m_text.constData());
    return true;
}

void FileTextReader::StartAgainAsWindows1252() {
    m_mode = Mode::Windows1252;
    m_text.truncate(m_guessChars);
    m_previous = m_guessChars > 0 ? char(m_text.back().unicode()) : 0;
    m_in.seek(m_guessByte);
}
