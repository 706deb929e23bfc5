#include "data/AskAndPrint.h"

#include "app/Services.h"
#include "app/TextTables.h"

namespace {

bool Fail(Ui& ui, int message) {
    ui.Message(LoadResString(message), LoadResString(1033), MsgIcon::Critical);
    return false;
}

} // namespace

bool AskAndPrint(Services& services, const std::function<bool()>& print) {
    Ui& ui = services.ui;
    if (!services.print.PrinterAvailable()) {
        return Fail(ui, 1211);
    }
    const QString question = LoadResString(1210) + QLatin1Char(' ') + services.print.PrinterName();
    if (ui.Message(question, LoadResString(1054), MsgIcon::Information, MsgButtons::YesNo,
                   MsgResult::Yes) != MsgResult::Yes) {
        return true;
    }
    return print() || Fail(ui, 1209);
}
