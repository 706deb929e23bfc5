#pragma once

#include "programs/ProgramRecord.h"
#include "ui/app/TaskServices.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class CLogin;
class QDialog;

// Copying programs between the meter and a folder for the program console, one or all: the
// meter's conversation, the questions before a program is replaced, the progress of a copy
// of all and its closing message. The console's lists are the console's own.
class ProgramCopy {
public:
    enum class Outcome { Done, Skipped, Failed, Cancelled };
    // What "Copier tout" did with the meter's programs, for its closing message.
    struct Tally {
        int copied = 0, replaced = 0, skipped = 0;
    };
    // One program of a copy of all: false ends the copy. `copied` counts what arrived.
    using Step = std::function<bool(const QString& entry, int& copied)>;

    ProgramCopy(TaskServices services, const CLogin& login, QDialog& console);

    // Messages for a program that cannot be read or written are shown here; a cancelled
    // save dialog is left to the caller.
    Outcome SaveMeterProgramToFile(const QString& strProgNum);
    // Every program of `numbers` as "PROG <number>.csv" into `folder`; `cancelled` tells
    // whether the user ended the copy at a question.
    Tally CopyMeterProgramsInto(const QString& folder, const QStringList& numbers, bool& cancelled);
    void ReportCopyAll(const QString& folder, const Tally& tally, bool interrupted);
    Outcome CopyFileProgramToMeter(const ProgramRecord& strProgram, bool fAll);
    // "Copie des programmes interrompue!" and "… incomplète!", then `detail` if any.
    void ReportCopyInterrupted(const QString& detail = QString());
    void CopyAll(const QStringList& entries, const Step& copyOne);

    // While a copy of all runs, closing the console ends the copy and then the console.
    bool Copying() const { return m_copying; }
    void RequestClose() { m_closeRequested = true; }

private:
    // The meter's program with the user who copies it, or a warning and nothing.
    std::optional<ProgramRecord> MeterProgramForFile(const QString& strProgNum);
    // Copies one meter program as "PROG <number>.csv" into `folder`, asking before an
    // existing file is replaced.
    Outcome CopyMeterProgramInto(const QString& folder, const QString& strProgNum, Tally& tally);

    TaskServices m_services;
    const CLogin& m_login;
    QDialog& m_console;
    bool m_copying = false;
    bool m_closeRequested = false;
};
