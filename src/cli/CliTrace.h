#pragma once

#include <QStringList>

struct CliContext;

// The archive's traceability commands; `args` follow the sub-command's name.
// archive log [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--format csv|tsv|json]
int RunArchiveLog(CliContext& ctx, const QStringList& args);
// archive invalidate RECORD_ID... --reason TEXT (valid false), archive restore (valid true)
int RunArchiveValidity(CliContext& ctx, const QStringList& args, bool valid);
// archive review IMPORT_ID [--comment TEXT]
int RunArchiveReview(CliContext& ctx, const QStringList& args);
