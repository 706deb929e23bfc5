#pragma once

#include <QString>

// The command codes the meter understands, one per line; the program, the emulator and the
// tests all name them from here. A command with arguments is its code, "#", the number of
// arguments, "," and the arguments (see the arguments' helpers below).
namespace MeterCommand {

inline const QString kOpen = QStringLiteral("U.400");         // opens every conversation; the probe
inline const QString kEnd = QStringLiteral("U.999");          // ends an aborted transfer
inline const QString kFirmware = QStringLiteral("U.597");     // firmware version
inline const QString kModel = QStringLiteral("U.595");        // model name
inline const QString kSerialNumber = QStringLiteral("U.596"); // serial number
inline const QString kVariant = QStringLiteral("U.592");      // variant (firmware 2.00 and later)
inline const QString kDataMemory = QStringLiteral("U.581");   // whole data memory (datasets)
inline const QString kProgramList = QStringLiteral("U.512");  // user-defined program numbers
inline const QString kReadProgram = QStringLiteral("U.513");  // one program, by number
inline const QString kNewProgram = QStringLiteral("U.500");   // stores a new program
inline const QString kReplaceProgram = QStringLiteral("U.502"); // replaces a program
inline const QString kDeleteProgram = QStringLiteral("U.521");  // deletes one program
inline const QString kDeleteAllPrograms = QStringLiteral("U.520");
inline const QString kPHProtocol = QStringLiteral("U.586");        // last pH calibration protocol
inline const QString kTurbidityProtocol = QStringLiteral("U.585"); // last turbidity protocol
inline const QString kExtendedTurbidityProtocol = QStringLiteral("U.587");

// The code with the count of its arguments: "U.513" and 1 give "U.513#1,".
inline QString WithArguments(const QString& code, int count) {
    return code + QLatin1Char('#') + QString::number(count) + QLatin1Char(',');
}

} // namespace MeterCommand
