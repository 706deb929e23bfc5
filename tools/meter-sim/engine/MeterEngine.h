#pragma once

#include "engine/Faults.h"
#include "engine/MeterModel.h"
#include "engine/ProgramStore.h"
#include "meter/MeterCommands.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// Who the meter is and what it holds when it is switched on.
struct MeterSetup {
    QString model = QStringLiteral("Zentravox");
    QString firmware = QStringLiteral("2.05");
    QString serial = QStringLiteral("0815342");
    QString variant = QStringLiteral("400100");
    QList<QByteArray> records; // data memory lines, Windows-1252, without framing
    int programs = 0;          // example user programs stored from 900 on
    Faults faults;
};

// The meter's command interpreter: one command line (without CR LF) in, the complete
// framed answer out. Knows nothing of ports or timing.
class MeterEngine {
public:
    explicit MeterEngine(MeterSetup setup);

    // The answer to one command line, or nothing when the meter stays silent.
    std::optional<QByteArray> Answer(const QByteArray& line);

    // A command that ends a transfer under way: what is still unsent is dropped.
    static bool Interrupts(const QByteArray& line) { return line == MeterCommand::kEnd.toLatin1(); }

    const ProgramStore& programs() const { return m_programs; }
    const Faults& faults() const { return m_setup.faults; }

private:
    struct Command {
        QString code;                    // the command code alone
        std::optional<QStringList> args; // the values after "#n,", when the line has them
        bool malformed = false;          // "#" present but the count does not match
    };
    static Command Parse(const QString& line);

    QByteArray Dispatch(const Command& command);
    QByteArray Identification(const QString& code) const;
    QByteArray ProgramCommand(const Command& command);
    QByteArray Protocol(const QString& code) const;
    QByteArray ReadProgram(const QString& number) const;

    MeterSetup m_setup;
    MeterModel m_model;
    ProgramStore m_programs;
};
