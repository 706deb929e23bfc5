#pragma once

#include "ui/app/TaskServices.h"

#include <QString>

class CDevice;
class CIni;
class QWidget;
class StatusSink;
struct MValSet;
struct QcImportVerdict;

// Whether Settings.ini asks for every import to be archived ([Archive] Auto, default True).
bool ArchivesEveryImport(CIni& ini);

// Adds a document's dataset to the archive in one transaction, off the window's thread
// under the runner's wait dialog (another program's lock can hold it a while), and notes on
// the status bar what it took: "N enregistrements archivés (M déjà présents)". An archive
// that cannot be reached or written costs the document nothing: one message says why, and
// the result is false; stopping the wait adds nothing, which the status bar says.
// `sourceFile` is the dataset file, empty for an import from the meter; `owner` the window
// the wait dialog belongs to. The control points the records bring are judged at once; the
// status bar adds the warnings or that all are within limits, and `verdict` (when given)
// receives the rejections. A judgement that cannot be made costs the archiving nothing.
bool ArchiveDataset(TaskServices tasks, QWidget* owner, CIni& ini, const CDevice& device,
                    StatusSink& status, const MValSet& set, const QString& sourceFile,
                    QcImportVerdict* verdict = nullptr);
