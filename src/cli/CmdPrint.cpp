#include "app/Services.h"
#include "cli/CliCommand.h"
#include "cli/CliDataset.h"
#include "cli/CliPrint.h"
#include "cli/CliSearch.h"
#include "cli/CliSelection.h"
#include "data/MValSet.h"

namespace {

const QString kName = QStringLiteral("print");

int RunPrint(CliContext& ctx, QStringList args) {
    CliPage page;
    RecordFilter filter;
    if (!TakePageOptions(args, page) || !TakeRecordOptions(args, filter) || args.size() != 2) {
        return UsageError(ctx, kName);
    }
    Services& services = ctx.services();
    MValSet set;
    if (!ReadDatasetFile(ctx, args[0], set)) {
        return kExitFailure;
    }
    PrintIntoPdf(services, args[1], page);
    if (!services.print.PrintMVals(set.strMeter, set.strSerNo, set.strUser, set.curDate,
                                   set.strMVals, args[0], SelectedRecords(services, set, filter))) {
        ReportFailure(ctx, 1209);
        return kExitFailure;
    }
    return kExitOk;
}

const CliRegistration reg({kName,
                           QStringLiteral("print IN.csv OUT.pdf [--page A4|Letter] [--landscape]\n"
                                          "        [--layout table|lines] [--no-signature]\n"
                                          "        [--program N] [--from YYYY-MM-DD] "
                                          "[--to YYYY-MM-DD] [--id TEXT]\n"
                                          "                                   dataset printout "
                                          "rendered into a PDF file (A4; a table\n"
                                          "                                   report, landscape "
                                          "when its columns do not fit portrait);\n"
                                          "                                   with criteria only "
                                          "the records they keep"),
                           &RunPrint, true});

} // namespace
