#include "data/AskAndPrint.h"

#include "app/TextTables.h"
#include "app/Ui.h"
#include "data/CPrint.h"

namespace {

bool Fail(Ui& ui, int message) {
    ui.Message(LoadResString(message), LoadResString(1033), MsgIcon::Critical);
    return false;
}

} // namespace

bool AskAndPrint(Ui& ui, CPrint& printer, const std::function<bool()>& print) {
    if (!printer.PrinterAvailable()) {
        return Fail(ui, 1211);
    }
    const QString question = LoadResString(1210) + QLatin1Char(' ') + printer.PrinterName();
    if (ui.Message(question, LoadResString(1054), MsgIcon::Information, MsgButtons::YesNo,
                   MsgResult::Yes) != MsgResult::Yes) {
        return true;
    }
    return print() || Fail(ui, 1209);
}
