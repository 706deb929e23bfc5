#pragma once

#include <QString>

struct CliContext;

// The meter found by a command-line search.
struct FoundMeter {
    QString model;
    QString serialNumber;
};

// Searches and identifies the meter as the desktop's search does (Ardel 60-only mode from
// Settings.ini). When none is found the reason goes to standard error and the result is
// false.
bool SearchMeter(CliContext& ctx, FoundMeter& found);

// Shows the message string `number` as an error of the command.
void ReportFailure(CliContext& ctx, int number);
