#include "app/Services.h"
#include "cli/CliCommand.h"
#include "cli/CliSearch.h"
#include "data/MValSet.h"

#include <QDateTime>

namespace {

int RunImport(CliContext& ctx, const QStringList& args) {
    if (args.size() != 1) {
        return UsageError(ctx, QStringLiteral("import"));
    }
    FoundMeter meter;
    if (!SearchMeter(ctx, meter)) {
        return kExitFailure;
    }
    Services& services = ctx.services();
    // The dataset header is the state when the import starts, as in the document window.
    MValSet set;
    set.strMeter = meter.model;
    set.strSerNo = meter.serialNumber;
    set.strUser = ctx.user;
    set.curDate = QDateTime::currentDateTime();
    if (!services.importMVal.GetMVals(set.strMVals)) {
        ReportFailure(ctx, 1036);
        return kExitFailure;
    }
    if (!services.measVal.SaveFile(set, args.front())) {
        ReportFailure(ctx, 1177);
        return kExitFailure;
    }
    return kExitOk;
}

const CliRegistration reg({QStringLiteral("import"),
                           QStringLiteral("import OUT.csv                   search, read the data "
                                          "memory, save it as a dataset file"),
                           &RunImport});

} // namespace
