#include "cli/CliCommand.h"
#include "cli/CliDataset.h"
#include "cli/CliPrint.h"
#include "cli/CliSearch.h"
#include "cli/CliSelection.h"
#include "data/CPrint.h"
#include "data/MValSet.h"
#include "meter/CDevice.h"

namespace {

const QString kName = QStringLiteral("print");

int RunPrint(CliContext& ctx, QStringList args) {
    CliPage page;
    RecordFilter filter;
    if (!TakePageOptions(args, page) || !TakeRecordOptions(args, filter) || args.size() != 2) {
        return UsageError(ctx, kName);
    }
    MValSet set;
    if (!ReadDatasetFile(ctx, args[0], set)) {
        return kExitFailure;
    }
    CPrint& print = ctx.print();
    PrintIntoPdf(print, args[1], page);
    if (!print.PrintMVals(set.strMeter, set.strSerNo, set.strUser, set.curDate, set.strMVals,
                          args[0], SelectedRecords(ctx.device(), set, filter))) {
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
