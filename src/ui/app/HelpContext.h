#pragma once

class QWidget;

// Help context numbers. Each one is also the id of its section in the help files, so a
// window opens the help at its own section.
namespace HelpContext {
inline constexpr int kDocument = 10000;
inline constexpr int kStatistics = 10010;
inline constexpr int kGraph = 10020;
inline constexpr int kArchive = 10030;
// The print dialog and the print preview, with their choice of report.
inline constexpr int kPrinting = 10040;
inline constexpr int kProgramConsole = 20000;
inline constexpr int kNewProgram = 20010;
inline constexpr int kChangeProgram = 20020;
inline constexpr int kProgramCalibration = 20030;
inline constexpr int kCalProtocol = 30010;
inline constexpr int kLotEditor = 30020;

inline constexpr int kAll[] = {kDocument,           kStatistics,     kGraph,      kArchive,
                               kPrinting,           kProgramConsole, kNewProgram, kChangeProgram,
                               kProgramCalibration, kCalProtocol,    kLotEditor};
} // namespace HelpContext

void SetHelpContext(QWidget* window, int context);
// The context of the nearest widget up the parents that has one, 0 when none has.
int HelpContextOf(const QWidget* widget);
