#pragma once

struct MeterServices;
class StatusSink;
class WindowHost;

// The meter search behind the wait dialog, and the report of its result on the status bar;
// a recognised meter is online once the user confirms it.
void StartupSearch(const MeterServices& services, WindowHost& main, StatusSink& status,
                   bool fOnlyArdel60);
// The search from the menu: it clears the meter panels first. False when the search did
// not run or the program is quitting; otherwise the caller replaces the open documents by
// one empty document, whatever the outcome.
bool MenuSearch(const MeterServices& services, WindowHost& main, StatusSink& status);
