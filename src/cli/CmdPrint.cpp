#include "app/Services.h"
#include "cli/CliCommand.h"
#include "cli/CliPrint.h"
#include "cli/CliSearch.h"
#include "data/CMeasVal.h"
#include "data/MValSet.h"

namespace {

const QString kName = QStringLiteral("print");

int RunPrint(CliContext& ctx, const QStringList& args) {
    if (args.size() != 2) {
        return UsageError(ctx, kName);
    }
    Services& services = ctx.services();
    MValSet set;
    const short opened = services.measVal.OpenFile(set, args[0]);
    if (opened != CMeasVal::kOpened) {
        ReportFailure(ctx, opened == CMeasVal::kNotADatasetFile ? 1181 : 1180);
        return kExitFailure;
    }
    if (set.strMVals.isEmpty()) {
        ReportFailure(ctx, 1055);
        return kExitFailure;
    }
    PrintIntoPdf(services, args[1]);
    if (!services.print.PrintMVals(set.strMeter, set.strSerNo, set.strUser, set.curDate,
                                   set.strMVals)) {
        ReportFailure(ctx, 1209);
        return kExitFailure;
    }
    return kExitOk;
}

const CliRegistration reg({kName,
                           QStringLiteral("print IN.csv OUT.pdf              dataset printout "
                                          "rendered into a PDF file"),
                           &RunPrint, true});

} // namespace
