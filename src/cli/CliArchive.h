#pragma once

class ArchiveDatabase;
struct CliContext;
struct MValSet;

// Opens the archive Settings.ini names; its message on standard error when it cannot.
bool OpenArchive(CliContext& ctx, ArchiveDatabase& db);

// Adds an import from the meter to the archive when Settings.ini asks for it, and prints
// "N records archived (M already present)". An archive that cannot take it costs the
// import nothing: its message goes to standard error and the result stays true; false only
// means nothing was archived.
bool ArchiveImport(CliContext& ctx, const MValSet& set);
