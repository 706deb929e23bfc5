#include "cli/CliDataset.h"

#include "cli/CliCommand.h"
#include "cli/CliSearch.h"
#include "data/CMeasVal.h"
#include "data/MValSet.h"

bool ReadDatasetFile(CliContext& ctx, const QString& path, MValSet& set) {
    const short opened = ctx.measVal().OpenFile(set, path);
    if (opened != CMeasVal::kOpened) {
        ReportFailure(ctx, opened == CMeasVal::kNotADatasetFile ? 1181 : 1180);
        return false;
    }
    if (set.strMVals.isEmpty()) {
        ReportFailure(ctx, 1055);
        return false;
    }
    return true;
}
