#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>
#include <optional>

class QIODevice;

// Reads the text of a file by the program's one rule: a leading UTF-8 byte order mark, or
// bytes that are valid UTF-8 and not plain ASCII, decode as UTF-8; anything else as
// Windows-1252. The bytes are read in blocks and decoded straight into the text, so a
// large file costs its text and little more. A Windows-1252 file is told from UTF-8 at its
// first invalid sequence (near its first accent, in practice) and only what was decoded
// since its first non-ASCII byte is decoded again.
class FileTextReader {
public:
    // Told the bytes read so far after every block; false stops the reading.
    using Progress = std::function<bool(qint64 done, qint64 total)>;

    // `crLfLineEnds`: a line feed without its carriage return becomes CR LF, so that files
    // with LF line ends parse like the CR LF files the program writes.
    FileTextReader(QIODevice& in, qint64 size, bool crLfLineEnds)
        : m_in(in), m_size(size), m_crLf(crLfLineEnds) {}

    // The text; nothing when the progress stopped the reading.
    std::optional<QString> Read(const Progress& progress = {});

private:
    enum class Mode { Ascii, Utf8Guess, Utf8, Windows1252 };

    bool Append(QByteArrayView bytes);
    bool Decode(QByteArrayView bytes);
    void StartAgainAsWindows1252();

    QIODevice& m_in;
    qint64 m_size;
    bool m_crLf;
    QString m_text;
    Mode m_mode = Mode::Ascii;
    char m_previous = 0;        // the last byte decoded, for a line feed at a block's start
    qint64 m_guessByte = 0;     // where the bytes guessed to be UTF-8 start
    qsizetype m_guessChars = 0; // the text's length there
};
