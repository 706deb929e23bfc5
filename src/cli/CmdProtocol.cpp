#include "calibration/CCalProtocol.h"
#include "cli/CliCommand.h"
#include "cli/CliPrint.h"
#include "cli/CliSearch.h"
#include "data/CPrint.h"
#include "meter/CDevice.h"
#include "meter/CLogin.h"

#include <QTextStream>

namespace {

const QString kName = QStringLiteral("protocol");

int Fail(CliContext& ctx, int message) {
    ReportFailure(ctx, message);
    return kExitFailure;
}

// Fetches the protocol as the protocol windows do: only from a meter with that channel,
// the extended turbidity protocol from an Ardel 60.
int FetchProtocol(CliContext& ctx, bool fPH, const QString& out) {
    FoundMeter meter;
    if (!SearchMeter(ctx, meter)) {
        return kExitFailure;
    }
    ctx.login().UserName(ctx.user);
    const CDevice& device = ctx.device();
    const bool supported = fPH ? device.SupportsPH() : device.SupportsTurbidity();
    CCalProtocol& protocol = ctx.calProtocol();
    if (!supported || !protocol.UpdateFromMeter(fPH, !fPH && device.IsArdel60()) ||
        !protocol.IsProtocolValid()) {
        return Fail(ctx, 1221);
    }
    return protocol.SaveToFile(out) ? kExitOk : Fail(ctx, 1229);
}

int PrintProtocolFile(CliContext& ctx, const QString& in, const QString& out, const CliPage& page) {
    if (!ctx.calProtocol().ReadFromFile(in)) {
        return Fail(ctx, 1180);
    }
    PrintIntoPdf(ctx.print(), out, page);
    return ctx.print().PrintCalProtocol() ? kExitOk : Fail(ctx, 1209);
}

int RunProtocol(CliContext& ctx, QStringList args) {
    if (!args.isEmpty() && args[0] == QLatin1String("print")) {
        CliPage page;
        if (TakePageOptions(args, page) && args.size() == 3) {
            return PrintProtocolFile(ctx, args[1], args[2], page);
        }
        return UsageError(ctx, kName);
    }
    if (args.size() == 2 &&
        (args[0] == QLatin1String("ph") || args[0] == QLatin1String("turbidity"))) {
        return FetchProtocol(ctx, args[0] == QLatin1String("ph"), args[1]);
    }
    return UsageError(ctx, kName);
}

const CliRegistration
    reg({kName,
         QStringLiteral("protocol ph|turbidity OUT.csv   search; fetch the last "
                        "calibration protocol, save the protocol file\n"
                        "  protocol print IN.csv OUT.pdf [--page A4|Letter] [--landscape]\n"
                        "        [--layout table|lines] [--no-signature]\n"
                        "                                   protocol file "
                        "printout rendered into a PDF file"),
         &RunProtocol, true});

} // namespace
