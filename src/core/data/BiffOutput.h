#pragma once

#include "app/RunTimeErrors.h"

#include <QString>
#include <memory>
#include <optional>
#include <string>

class SafeSaveFile;

// The byte sink of one spreadsheet file. Records collect in memory and reach the disk in
// large blocks through a temporary file beside the target; the target name only changes
// when the file is committed, so a file that was never finished never replaces anything
// and never appears half written under its name.
class BiffOutput {
public:
    BiffOutput();
    ~BiffOutput(); // an uncommitted file is discarded
    BiffOutput(const BiffOutput&) = delete;
    BiffOutput& operator=(const BiffOutput&) = delete;

    // Starts a new file for `path`; 0 or an ExcelStatus number (nothing open then).
    short Open(const QString& path);
    bool IsOpen() const { return m_file != nullptr; }

    void Byte(int value) { m_buffer.push_back(static_cast<char>(value & 0xFF)); }
    // The low 16 bits, little-endian.
    void Word(int value) {
        Byte(value);
        Byte(value >> 8);
    }
    void Double(double value);

    // Hands the collected bytes to the file once there are enough of them; 0 or the
    // status of a failed write (the file is then bound to fail at Commit as well).
    short Settle();
    // Writes everything, then puts the file in place of `path`; closes in any case.
    short Commit();
    // Closes and forgets the file: `path` keeps what it held before Open.
    void Discard();

    // What made the last Open, Settle or Commit fail: the file and the system's reason.
    const std::optional<FileFailure>& Failure() const { return m_failure; }

private:
    short WriteBuffer();
    short Failed(const FileFailure& error);

    std::unique_ptr<SafeSaveFile> m_file;
    std::optional<FileFailure> m_failure;
    std::string m_buffer; // appending a byte is inlined: a cell is a dozen of them
};
