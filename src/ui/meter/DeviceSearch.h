#pragma once

class frmMain;

// The meter search behind the wait dialog, with the hourglass on every window, and the
// report of its result; a recognised meter is online once the user confirms it.
void StartupSearch(frmMain& main, bool fOnlyArdel60);
// The search from the menu: it clears the meter panels first and replaces the open
// documents by one empty document afterwards, whatever its outcome.
void MenuSearch(frmMain& main);
