#include "engine/MeterEngine.h"

#include "app/Windows1252.h"
#include "engine/Answers.h"
#include "engine/CalProtocols.h"

MeterEngine::MeterEngine(MeterSetup setup)
    : m_setup(std::move(setup)), m_model(MeterModel::Of(m_setup.model)),
      m_programs(m_model.HighestProgram()) {
    if (m_model.programs) {
        m_programs.Seed(m_setup.programs);
    }
}

MeterEngine::Command MeterEngine::Parse(const QString& line) {
    Command command;
    command.code = line.section(QLatin1Char('#'), 0, 0);
    if (!line.contains(QLatin1Char('#'))) {
        return command;
    }
    // A code followed by "#14,a,b,..." announces how many values follow; a count that does not
    // match is a garbled line.
    QStringList values = line.section(QLatin1Char('#'), 1).split(QLatin1Char(','));
    bool ok = false;
    const int count = values.takeFirst().toInt(&ok);
    command.malformed = !ok || count != values.size();
    command.args = values;
    return command;
}

std::optional<QByteArray> MeterEngine::Answer(const QByteArray& line) {
    const QString text = Windows1252::Decode(line);
    if (m_setup.faults.Silences(text)) {
        return std::nullopt;
    }
    QByteArray answer = m_setup.faults.Refuses(text) ? SimAnswer::kRefused : Dispatch(Parse(text));
    if (m_setup.faults.garbageAfter) {
        answer += Faults::kGarbage;
    }
    return answer;
}

QByteArray MeterEngine::Dispatch(const Command& command) {
    if (command.malformed) {
        return SimAnswer::kRefused;
    }
    const QString& code = command.code;
    using namespace MeterCommand;
    static const QStringList programCodes{kNewProgram,  kReplaceProgram,    kProgramList,
                                          kReadProgram, kDeleteAllPrograms, kDeleteProgram};
    if (programCodes.contains(code)) {
        return ProgramCommand(command);
    }
    if (command.args) {
        return SimAnswer::kRefused;
    }
    if (code == MeterCommand::kOpen || code == MeterCommand::kEnd) {
        return SimAnswer::kOk;
    }
    if (code == MeterCommand::kDataMemory) {
        return SimAnswer::Value(m_setup.records.join(QByteArrayLiteral("\r\n")));
    }
    if (code == MeterCommand::kTurbidityProtocol || code == MeterCommand::kPHProtocol ||
        code == MeterCommand::kExtendedTurbidityProtocol) {
        return Protocol(code);
    }
    return Identification(code);
}

QByteArray MeterEngine::Identification(const QString& code) const {
    if (code == MeterCommand::kFirmware) {
        return SimAnswer::Value(Windows1252::Encode(m_setup.firmware));
    }
    if (code == MeterCommand::kModel) {
        return SimAnswer::Value(Windows1252::Encode(m_setup.model));
    }
    if (code == MeterCommand::kSerialNumber) {
        return SimAnswer::Value(Windows1252::Encode(m_setup.serial));
    }
    // The variant query came with firmware 2.00; older meters do not know it.
    if (code == MeterCommand::kVariant && FirmwareNumber(m_setup.firmware) >= 200) {
        return SimAnswer::Value(Windows1252::Encode(m_setup.variant));
    }
    return SimAnswer::kRefused;
}

QByteArray MeterEngine::ProgramCommand(const Command& command) {
    const QString& code = command.code;
    const QStringList args = command.args.value_or(QStringList());
    const bool one = command.args && args.size() == 1;
    bool done = false;
    if (!m_model.programs) {
        return SimAnswer::kRefused;
    }
    if (code == MeterCommand::kProgramList && !command.args) {
        QList<QByteArray> lines;
        for (const QString& number : m_programs.Numbers()) {
            lines << number.toLatin1();
        }
        return SimAnswer::Lines(lines);
    }
    if (code == MeterCommand::kReadProgram && one) {
        return ReadProgram(args[0]);
    }
    if (code == MeterCommand::kNewProgram && command.args) {
        done = m_programs.Add(args);
    } else if (code == MeterCommand::kReplaceProgram && command.args) {
        done = m_programs.Replace(args);
    } else if (code == MeterCommand::kDeleteProgram && one) {
        done = m_programs.Remove(args[0]);
    } else if (code == MeterCommand::kDeleteAllPrograms && !command.args) {
        m_programs.Clear();
        done = true;
    }
    return done ? SimAnswer::kOk : SimAnswer::kRefused;
}

QByteArray MeterEngine::ReadProgram(const QString& number) const {
    const std::optional<QStringList> entry = m_programs.Find(number);
    if (!entry) {
        return SimAnswer::kRefused;
    }
    // The meter sends a program as NO, MODEL, CUV, LAMBDA, MRB, MRE, a reserved field that is
    // always 0 for user programs, then E0 to CALREQ.
    QStringList fields = entry->mid(0, 6);
    fields << QStringLiteral("0") << entry->mid(6);
    return SimAnswer::Value(Windows1252::Encode(fields.join(QLatin1Char(';'))));
}

QByteArray MeterEngine::Protocol(const QString& code) const {
    if (code == MeterCommand::kPHProtocol && m_model.ph) {
        return SimAnswer::Value(CalProtocols::Ph());
    }
    if (code == MeterCommand::kTurbidityProtocol && m_model.turbidity) {
        return SimAnswer::Value(CalProtocols::Turbidity());
    }
    if (code == MeterCommand::kExtendedTurbidityProtocol && m_model.extendedTurbidity) {
        return SimAnswer::Value(CalProtocols::ExtendedTurbidity());
    }
    return SimAnswer::kRefused;
}
