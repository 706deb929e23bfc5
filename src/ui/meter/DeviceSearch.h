#pragma once

class MainFrame;

// The meter search behind the wait dialog, and the report of its result; a recognised
// meter is online once the user confirms it.
void StartupSearch(MainFrame& main, bool fOnlyArdel60);
// The search from the menu: it clears the meter panels first and replaces the open
// documents by one empty document afterwards, whatever its outcome.
void MenuSearch(MainFrame& main);
