#pragma once

#include <QString>

class CDevice;
class CIni;
class StatusSink;
class Ui;
struct MValSet;

// Whether Settings.ini asks for every import to be archived ([Archive] Auto, default True).
bool ArchivesEveryImport(CIni& ini);

// Adds a document's dataset to the archive in one transaction and notes on the status bar
// what it took: "N enregistrements archivés (M déjà présents)". An archive that cannot be
// reached or written costs the document nothing: one message says why, and the result is
// false. `sourceFile` is the dataset file, empty for an import from the meter.
bool ArchiveDataset(Ui& ui, CIni& ini, const CDevice& device, StatusSink& status,
                    const MValSet& set, const QString& sourceFile);
