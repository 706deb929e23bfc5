#include "cli/CliArchive.h"
#include "cli/CliCommand.h"
#include "cli/CliSearch.h"
#include "data/CImportMVal.h"
#include "data/CMeasVal.h"
#include "data/MValSet.h"
#include "data/TransferProgress.h"

#include <QDateTime>
#include <cstdio>
#include <unistd.h>

namespace {

// On a terminal the transfer shows its progress on one line of standard error; scripts
// that read the streams see nothing of it.
CImportMVal::ProgressHook TerminalProgress() {
    if (isatty(STDERR_FILENO) == 0) {
        return {};
    }
    return [](qsizetype records, qint64 elapsedMs) {
        const QByteArray line = TransferProgressText(records, elapsedMs).toUtf8();
        std::fprintf(stderr, "\r%s\x1b[K", line.constData());
        std::fflush(stderr);
    };
}

int RunImport(CliContext& ctx, QStringList args) {
    const bool archive = !args.removeAll(QStringLiteral("--no-archive"));
    if (args.size() != 1) {
        return UsageError(ctx, QStringLiteral("import"));
    }
    FoundMeter meter;
    if (!SearchMeter(ctx, meter)) {
        return kExitFailure;
    }
    CImportMVal& importMVal = ctx.importMVal();
    // The dataset header is the state when the import starts, as in the document window.
    MValSet set;
    set.strMeter = meter.model;
    set.strSerNo = meter.serialNumber;
    set.strUser = ctx.user;
    set.curDate = QDateTime::currentDateTime();
    CImportMVal::ProgressHook progress = TerminalProgress();
    importMVal.SetProgressHook(progress);
    const bool imported = importMVal.GetMVals(set.strMVals);
    importMVal.SetProgressHook({});
    if (progress) {
        std::fputs("\n", stderr);
    }
    if (!imported) {
        ReportFailure(ctx, 1036);
        return kExitFailure;
    }
    if (!ctx.measVal().SaveFile(set, args.front())) {
        ReportFailure(ctx, 1177);
        return kExitFailure;
    }
    if (archive) {
        ArchiveImport(ctx, set);
    }
    return kExitOk;
}

const CliRegistration reg({QStringLiteral("import"),
                           QStringLiteral("import OUT.csv [--no-archive]    search, read the data "
                                          "memory, save it as a dataset file\n"
                                          "                                   and add it to "
                                          "the archive (unless --no-archive)"),
                           &RunImport});

} // namespace
