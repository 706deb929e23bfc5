#pragma once

#include <QString>

struct CliContext;

// The meter found by a command-line search.
struct FoundMeter {
    QString model;
    QString serialNumber;
};

// Searches and identifies the meter as the desktop's search does (Ardel 60-only mode from
// Settings.ini). When none is found the reason goes to standard error, one line per
// message, and the result is false.
bool SearchMeter(CliContext& ctx, FoundMeter& found);

// Writes the message string `number` to standard error as one line.
void ReportFailure(CliContext& ctx, int number);
