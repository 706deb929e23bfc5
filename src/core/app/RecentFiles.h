#pragma once

#include <QString>
#include <QStringList>

// The files the user opened or saved last, newest first, kept in the per-user settings
// store (key "Settings/RecentFiles") so that the list survives a restart.
namespace RecentFiles {

constexpr int kMaxFiles = 8;

QStringList List();
// Puts `path` (made absolute) at the top; the oldest entry beyond kMaxFiles goes.
void Add(const QString& path);
void Remove(const QString& path);

} // namespace RecentFiles
