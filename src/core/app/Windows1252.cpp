#include "app/Windows1252.h"

#include <array>

namespace {

// 0x80..0x9F; the unassigned positions keep their own value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Every byte's character, so that decoding is one look-up per byte.
constexpr std::array<char16_t, 256> kCharacters = [] {
    std::array<char16_t, 256> table{};
    for (std::size_t b = 0; b < table.size(); ++b) {
        table[b] = b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b);
    }
    return table;
}();

// Outside 0x80..0x9F a byte is its own character, so a chunk of bytes is widened as it is
// (which the compiler does many bytes per instruction) and only a chunk holding one of
// those 32 bytes goes through the table. Files are many megabytes of mostly ASCII text.
constexpr qsizetype kChunk = 64;

// Writes the chunk's bytes widened; true when one of them needs the table.
bool WidenChunk(const unsigned char* __restrict in, char16_t* __restrict out) {
    unsigned char special = 0; // not bool: the compiler widens and tests 16 bytes at a time
    for (qsizetype i = 0; i < kChunk; ++i) {
        const unsigned char b = in[i];
        out[i] = b;
        special |= static_cast<unsigned char>(b - 0x80) < 0x20 ? 1 : 0;
    }
    return special != 0;
}

void LookUp(const unsigned char* in, char16_t* out, qsizetype count) {
    for (qsizetype i = 0; i < count; ++i) {
        out[i] = kCharacters[in[i]];
    }
}

} // namespace

namespace Windows1252 {

QString Decode(const QByteArray& bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    DecodeInto(bytes, text.data());
    return text;
}

QChar* DecodeInto(QByteArrayView bytes, QChar* out) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data());
    auto* chars = reinterpret_cast<char16_t*>(out);
    const qsizetype size = bytes.size();
    qsizetype at = 0;
    for (; at + kChunk <= size; at += kChunk) {
        if (WidenChunk(in + at, chars + at)) {
            LookUp(in + at, chars + at, kChunk);
        }
    }
    LookUp(in + at, chars + at, size - at);
    return out + size;
}

int EncodeChar(char16_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) {
        return ch;
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == ch) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

QByteArray Encode(QStringView text, bool* complete) {
    QByteArray bytes(text.size(), Qt::Uninitialized);
    bool all = true;
    char* out = bytes.data();
    for (const QChar ch : text) {
        const int b = EncodeChar(ch.unicode());
        if (b < 0) {
            all = false;
        }
        *out++ = static_cast<char>(b < 0 ? '?' : b);
    }
    if (complete) {
        *complete = all;
    }
    return bytes;
}

} // namespace Windows1252
