#include "app/Services.h"
#include "cli/CliCommand.h"
#include "cli/CliDataset.h"
#include "cli/CliSearch.h"
#include "data/MValSet.h"

namespace {

int RunExport(CliContext& ctx, const QStringList& args) {
    if (args.size() != 2) {
        return UsageError(ctx, QStringLiteral("export"));
    }
    Services& services = ctx.services();
    MValSet set;
    if (!ReadDatasetFile(ctx, args[0], set)) {
        return kExitFailure;
    }
    if (!services.exportExcel.SetMVals(set.strMVals, set.strMeter, set.strSerNo, set.strUser,
                                       set.curDate, args[1])) {
        ReportFailure(ctx, 1058);
        return kExitFailure;
    }
    return kExitOk;
}

const CliRegistration reg({QStringLiteral("export"),
                           QStringLiteral("export IN.csv OUT.xls            dataset file -> "
                                          "spreadsheet file"),
                           &RunExport});

} // namespace
