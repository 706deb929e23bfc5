#include "app/Services.h"
#include "cli/CliCommand.h"
#include "cli/CliDataset.h"
#include "cli/CliSearch.h"
#include "cli/CliSelection.h"
#include "data/ExportDataset.h"
#include "data/MValSet.h"

namespace {

int RunExport(CliContext& ctx, QStringList args) {
    RecordFilter filter;
    if (!TakeRecordOptions(args, filter) || args.size() != 2) {
        return UsageError(ctx, QStringLiteral("export"));
    }
    Services& services = ctx.services();
    MValSet set;
    if (!ReadDatasetFile(ctx, args[0], set)) {
        return kExitFailure;
    }
    if (!ExportDataset(services, set, args[1], {}, SelectedRecords(services, set, filter))) {
        ReportFailure(ctx, 1058);
        return kExitFailure;
    }
    return kExitOk;
}

const CliRegistration reg({QStringLiteral("export"),
                           QStringLiteral("export IN.csv OUT.xlsx|OUT.xls [--program N] "
                                          "[--from YYYY-MM-DD] [--to YYYY-MM-DD] [--id TEXT]\n"
                                          "                                   dataset file -> "
                                          "spreadsheet file (type by extension); with\n"
                                          "                                   criteria only "
                                          "the records they keep"),
                           &RunExport});

} // namespace
