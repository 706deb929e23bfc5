#pragma once

#include <QString>

struct CliContext;
struct MValSet;

// Reads a dataset file for a command that needs its records. A file that cannot be read,
// is no dataset file or holds no records is reported on standard error; false then.
bool ReadDatasetFile(CliContext& ctx, const QString& path, MValSet& set);
