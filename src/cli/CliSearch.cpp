#include "cli/CliSearch.h"

#include "app/Services.h"
#include "app/StringTable.h"
#include "cli/CliCommand.h"

namespace {

constexpr short kFirmwareTooOld = -2;

QString RecogniseFailureText(short result, bool onlyArdel60) {
    if (result == kFirmwareTooOld) {
        return LoadResString(1201) + QStringLiteral("\r\n") + LoadResString(1202);
    }
    return LoadResString(onlyArdel60 ? 1245 : 1060);
}

void ReportText(Services& services, const QString& text) {
    services.ui.Message(text, LoadResString(1033), MsgIcon::Critical);
}

} // namespace

bool SearchMeter(CliContext& ctx, FoundMeter& found) {
    Services& services = ctx.services();
    const bool onlyArdel60 = services.ini.OnlyArdel60();
    const short result = services.device.Recognise(found.model, found.serialNumber, onlyArdel60);
    if (result != 0) {
        ReportText(services, RecogniseFailureText(result, onlyArdel60));
        return false;
    }
    return true;
}

void ReportFailure(CliContext& ctx, int number) {
    ReportText(ctx.services(), LoadResString(number));
}
