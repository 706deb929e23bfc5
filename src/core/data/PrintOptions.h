#pragma once

// How the printouts are laid out: the table report (the default) or the compact list of
// text lines; whether the table report ends with the signature block; and, for a table that
// is filtered or sorted, whether only its rows shown are printed, in its order.
enum class PrintLayout { Table, Lines };

struct PrintOptions {
    PrintLayout layout = PrintLayout::Table;
    bool signature = true;
    // On by default: who filtered the table to one program and prints wants what they see.
    // Held for the session only; each new filter is a new question of what to print.
    bool shownOnly = true;
};

// The user's last choice of layout and signature, kept in the per-user settings store
// (group "Settings"); the defaults when none is kept.
PrintOptions RememberedPrintOptions();
void RememberPrintOptions(const PrintOptions& options);
