#include "app/Services.h"
#include "cli/CliCommand.h"
#include "cli/CliSearch.h"
#include "data/CMeasVal.h"
#include "data/MValSet.h"

namespace {

int RunExport(CliContext& ctx, const QStringList& args) {
    if (args.size() != 2) {
        return UsageError(ctx, QStringLiteral("export"));
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
