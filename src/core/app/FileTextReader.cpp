#include "app/FileTextReader.h"

#include "app/Windows1252.h"

#include <QIODevice>
#include <QStringDecoder>
#include <algorithm>

namespace {

constexpr qint64 kBlockSize = 1024 * 1024;
constexpr QByteArrayView kUtf8Bom = "\xEF\xBB\xBF";

// The scans below look at chunks of bytes without a branch per byte, which the compiler
// does 16 bytes per instruction; only a chunk that holds what they look for is looked at
// byte by byte. Files are many megabytes.
constexpr qsizetype kChunk = 128;

bool IsAscii(QByteArrayView bytes) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype at = 0;
    for (; at + kChunk <= size; at += kChunk) {
        unsigned char high = 0;
        for (qsizetype i = 0; i < kChunk; ++i) {
            high |= in[at + i] & 0x80;
        }
        if (high != 0) {
            return false;
        }
    }
    return std::all_of(in + at, in + size, [](unsigned char c) { return c < 0x80; });
}

// Whether one of the chunk's bytes is a line feed without a carriage return before it; the
// byte before the chunk is read too.
bool HasBareLineFeed(const unsigned char* chunk) {
    unsigned char bare = 0;
    for (qsizetype i = 0; i < kChunk; ++i) {
        const unsigned char lineFeed = chunk[i] == '\n' ? 1 : 0;
        const unsigned char carriageReturn = chunk[i - 1] == '\r' ? 1 : 0;
        bare |= lineFeed & ~carriageReturn;
    }
    return bare != 0;
}

// Where the first line feed at or after `from` lies that has no carriage return before it,
// -1 without one; `previous` is the byte before `bytes`.
qsizetype BareLineFeedAt(QByteArrayView bytes, qsizetype from, char previous) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    if (from == 0 && size > 0) {
        if (bytes[0] == '\n' && previous != '\r') {
            return 0;
        }
        from = 1;
    }
    qsizetype at = from;
    while (at + kChunk <= size && !HasBareLineFeed(in + at)) {
        at += kChunk;
    }
    for (; at < size; ++at) {
        if (in[at] == '\n' && in[at - 1] != '\r') {
            return at;
        }
    }
    return -1;
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
    for (qsizetype i = m_crLf ? BareLineFeedAt(bytes, 0, m_previous) : -1; i >= 0;
         i = BareLineFeedAt(bytes, i + 1, m_previous)) {
        if (!Decode(bytes.sliced(from, i - from))) {
            return false;
        }
        m_text.append(QLatin1Char('\r'));
        from = i;
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
