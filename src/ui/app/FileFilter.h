#pragma once

#include <QString>
#include <QStringList>

// Callers describe file types in the classic "Description (*.csv)|*.csv" form: pairs of
// description and pattern list, all separated by "|", patterns separated by ";". Qt wants
// one "Description (*.csv *.txt)" entry per pair.
QStringList QtNameFilters(const QString& classicFilter);

// The path with ".ext" appended when its file name has no extension of its own.
QString WithDefaultExtension(const QString& path, const QString& extension);

// The extension of a Qt name filter with one "*.ext" pattern ("Classeur (*.xlsx)" gives
// "xlsx"); `fallback` for any other filter.
QString FilterExtension(const QString& qtNameFilter, const QString& fallback);
