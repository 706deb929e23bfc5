#pragma once

#include "app/FileTextReader.h"

#include <QByteArray>
#include <QString>

class Ui;

// Writes a whole text to a file in Windows-1252 and reads a whole file back with
// DecodeFileText and CR LF line ends (a line feed without its carriage return gets one).
class CCSVFile {
public:
    explicit CCSVFile(Ui& ui) : m_ui(ui) {}

    // Creates or replaces the file atomically: a failed write leaves the old file intact.
    // Writes the text unchanged, no line end added. Failures are reported and give false.
    bool WriteFile(const QString& strFileName, const QString& strStream);
    bool ReadFile(QString& strStream, const QString& strFileName);

private:
    Ui& m_ui;
};

// The same operations without a window: they throw MervexError with the system's reason.
void WriteWholeFile(const QString& path, const QString& text);
void WriteWholeFileBytes(const QString& path, const QByteArray& bytes);
// `progress` is told the bytes read after every block; when it answers false the reading
// stops with an error.
QString ReadWholeFile(const QString& path, const FileTextReader::Progress& progress = {});

// The one rule for the text of every file the program reads, so that files re-saved by
// other tools read as the program's own: a leading UTF-8 byte order mark, or bytes that
// are valid UTF-8 and not plain ASCII, decode as UTF-8; anything else as Windows-1252.
QString DecodeFileText(const QByteArray& bytes);

// Windows-1252 when every character has a byte there, else UTF-8 behind a byte order
// mark, so that the text reads back exactly through DecodeFileText.
QByteArray EncodeFileTextExactly(const QString& text);
