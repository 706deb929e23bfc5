#pragma once

#include <QStringList>

// Result of DeleteToRecycleBin when a file could not be moved to the trash.
constexpr int kRecycleFailed = 1;

// Moves the first `count` paths to the user's trash, where they can be restored.
// 0 when every file was moved, else kRecycleFailed (files that could be moved are).
int DeleteToRecycleBin(const QStringList& paths, int count);

// All or nothing: when any of the paths no longer exists nothing is deleted and the
// result is false; else they go to the trash together and the result says whether all did.
bool RecycleAllIfAllExist(const QStringList& paths);
