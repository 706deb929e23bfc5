#include "cli/CliCommand.h"
#include "cli/CliDataset.h"
#include "cli/CliSearch.h"
#include "cli/CliSelection.h"
#include "data/CExportExcel.h"
#include "data/CExportXlsx.h"
#include "data/ExportDataset.h"
#include "data/MValSet.h"
#include "meter/CDevice.h"

namespace {

int RunExport(CliContext& ctx, QStringList args) {
    RecordFilter filter;
    if (!TakeRecordOptions(args, filter) || args.size() != 2) {
        return UsageError(ctx, QStringLiteral("export"));
    }
    MValSet set;
    if (!ReadDatasetFile(ctx, args[0], set)) {
        return kExitFailure;
    }
    if (!ExportDataset(ctx.exportExcel(), ctx.exportXlsx(), set, args[1], {},
                       SelectedRecords(ctx.device(), set, filter))) {
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
