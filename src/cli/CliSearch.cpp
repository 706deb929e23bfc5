#include "cli/CliSearch.h"

#include "app/CIni.h"
#include "app/TextTables.h"
#include "cli/CliCommand.h"
#include "meter/CDevice.h"

#include <QTextStream>

namespace {

constexpr short kFirmwareTooOld = -2;

} // namespace

bool SearchMeter(CliContext& ctx, FoundMeter& found) {
    const bool onlyArdel60 = ctx.ini().OnlyArdel60();
    const short result = ctx.device().Recognise(found.model, found.serialNumber, onlyArdel60);
    if (result == 0) {
        return true;
    }
    if (result == kFirmwareTooOld) {
        ReportFailure(ctx, 1201);
        ReportFailure(ctx, 1202);
    } else {
        ReportFailure(ctx, onlyArdel60 ? 1245 : 1060);
    }
    return false;
}

void ReportFailure(CliContext& ctx, int number) {
    ctx.err << LoadResString(number) << '\n';
    ctx.err.flush();
}
