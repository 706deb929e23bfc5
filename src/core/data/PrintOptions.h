#pragma once

// How the printouts are laid out: the table report (the default) or the compact list of
// text lines; and whether the table report ends with the signature block.
enum class PrintLayout { Table, Lines };

struct PrintOptions {
    PrintLayout layout = PrintLayout::Table;
    bool signature = true;
};

// The user's last choice, kept in the per-user settings store (group "Settings"); the
// defaults when none is kept.
PrintOptions RememberedPrintOptions();
void RememberPrintOptions(const PrintOptions& options);
