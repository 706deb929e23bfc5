#pragma once

#include <QString>

class Ui;

// Writes a whole text to a file and reads a whole file back, in Windows-1252.
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
QString ReadWholeFile(const QString& path);
