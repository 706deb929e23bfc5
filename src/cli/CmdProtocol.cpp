#include "app/Services.h"
#include "app/StringTable.h"
#include "cli/CliCommand.h"
#include "cli/CliPrint.h"

#include <QTextStream>

namespace {

const QString kName = QStringLiteral("protocol");

int Fail(CliContext& ctx, int message) {
    ctx.err << LoadResString(message) << '\n';
    return kExitFailure;
}

int PrintProtocolFile(CliContext& ctx, const QString& in, const QString& out) {
    Services& services = ctx.services();
    if (!services.calProtocol.ReadFromFile(in)) {
        return Fail(ctx, 1180);
    }
    PrintIntoPdf(services, out);
    return services.print.PrintCalProtocol() ? kExitOk : Fail(ctx, 1209);
}

int RunProtocol(CliContext& ctx, const QStringList& args) {
    if (args.size() == 3 && args[0] == QLatin1String("print")) {
        return PrintProtocolFile(ctx, args[1], args[2]);
    }
    return UsageError(ctx, kName);
}

const CliRegistration reg({kName,
                           QStringLiteral("protocol ph|turbidity OUT.csv   search; fetch the last "
                                          "calibration protocol, save the protocol file\n"
                                          "  protocol print IN.csv OUT.pdf  protocol file "
                                          "printout rendered into a PDF file"),
                           &RunProtocol, true});

} // namespace
