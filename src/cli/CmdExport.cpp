#include "app/Services.h"
#include "cli/CliCommand.h"
#include "cli/CliDataset.h"
#include "cli/CliSearch.h"
#include "data/ExportDataset.h"
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
    if (!ExportDataset(services, set, args[1])) {
        ReportFailure(ctx, 1058);
        return kExitFailure;
    }
    return kExitOk;
}

const CliRegistration reg({QStringLiteral("export"),
                           QStringLiteral("export IN.csv OUT.xlsx|OUT.xls   dataset file -> "
                                          "spreadsheet file (type by extension)"),
                           &RunExport});

} // namespace
