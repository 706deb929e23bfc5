#include "GifWriter.h"

#include <QHash>

namespace {

void PutWord(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

// Packs variable-width codes least significant bit first into 255-byte sub-blocks.
class CodeStream {
public:
    explicit CodeStream(QByteArray& out) : m_out(out) {}
    void Put(int code, int width) {
        m_bits |= static_cast<quint32>(code) << m_count;
        m_count += width;
        while (m_count >= 8) {
            Byte(static_cast<char>(m_bits & 0xFF));
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    void Finish() {
        if (m_count > 0) {
            Byte(static_cast<char>(m_bits & 0xFF));
        }
        Flush();
        m_out.append('\0');
    }

private:
    void Byte(char b) {
        m_block.append(b);
        if (m_block.size() == 255) {
            Flush();
        }
    }
    void Flush() {
        if (!m_block.isEmpty()) {
            m_out.append(static_cast<char>(m_block.size()));
            m_out.append(m_block);
            m_block.clear();
        }
    }
    QByteArray& m_out;
    QByteArray m_block;
    quint32 m_bits = 0;
    int m_count = 0;
};

void Lzw(QByteArray& out, const QByteArray& pixels) {
    constexpr int kMinCodeSize = 8;
    constexpr int kClear = 1 << kMinCodeSize;
    constexpr int kEnd = kClear + 1;
    out.append(static_cast<char>(kMinCodeSize));
    CodeStream codes(out);
    QHash<quint32, int> table; // (prefix code << 8 | byte) -> code
    int next = kEnd + 1;
    int width = kMinCodeSize + 1;
    codes.Put(kClear, width);
    int prefix = static_cast<quint8>(pixels.at(0));
    for (qsizetype i = 1; i < pixels.size(); ++i) {
        const quint8 byte = static_cast<quint8>(pixels.at(i));
        const quint32 key = (static_cast<quint32>(prefix) << 8) | byte;
        if (const auto it = table.constFind(key); it != table.constEnd()) {
            prefix = *it;
            continue;
        }
        codes.Put(prefix, width);
        table.insert(key, next++);
        if (next - 1 >= (1 << width)) {
            ++width;
        }
        if (next == 4096) { // the table is full: start a new one
            codes.Put(kClear, width);
            table.clear();
            next = kEnd + 1;
            width = kMinCodeSize + 1;
        }
        prefix = byte;
    }
    codes.Put(prefix, width);
    codes.Put(kEnd, width);
    codes.Finish();
}

} // namespace

QByteArray EncodeGif(const QImage& source) {
    const bool transparent = source.hasAlphaChannel();
    QImage indexed = source.convertToFormat(QImage::Format_Indexed8, Qt::AvoidDither);
    QList<QRgb> colours = indexed.colorTable();
    int transparentIndex = -1;
    if (transparent) {
        for (int i = 0; i < colours.size(); ++i) {
            if (qAlpha(colours[i]) < 128) {
                transparentIndex = i;
                break;
            }
        }
    }
    colours.resize(256, qRgb(0, 0, 0));

    QByteArray out("GIF89a");
    PutWord(out, indexed.width());
    PutWord(out, indexed.height());
    out.append(static_cast<char>(0xF7)); // global colour table of 256 entries
    out.append('\0');
    out.append('\0');
    for (QRgb c : colours) {
        out.append(static_cast<char>(qRed(c)));
        out.append(static_cast<char>(qGreen(c)));
        out.append(static_cast<char>(qBlue(c)));
    }
    if (transparentIndex >= 0) {
        out.append(QByteArray::fromHex("21F90401000000"));
        out[out.size() - 2] = static_cast<char>(transparentIndex);
        out.append('\0');
    }
    out.append(',');
    PutWord(out, 0);
    PutWord(out, 0);
    PutWord(out, indexed.width());
    PutWord(out, indexed.height());
    out.append('\0');
    QByteArray pixels;
    pixels.reserve(qsizetype(indexed.width()) * indexed.height());
    for (int y = 0; y < indexed.height(); ++y) {
        pixels.append(reinterpret_cast<const char*>(indexed.constScanLine(y)), indexed.width());
    }
    Lzw(out, pixels);
    out.append(';');
    return out;
}
