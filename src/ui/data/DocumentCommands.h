#pragma once

#include "ui/data/DocumentServices.h"

#include <QString>
#include <optional>

class DocumentPrinting;
class frmDocument;
class MainFrame;
struct MValSet;

// The dataset commands' work beyond the window: reading the meter's records, writing the
// dataset's file, printing, exporting to a spreadsheet and adding to the archive. The
// document keeps what it shows; it takes what these bring back.
class DocumentCommands {
public:
    DocumentCommands(frmDocument& document, MainFrame& main, DocumentServices services,
                     const DocumentPrinting& printing);

    // True while the import talks to the meter.
    bool Importing() const { return m_importing; }
    // The meter's records into `mvals` (its header already set); false when the import
    // failed (reported) or was stopped.
    bool ReadMeter(MValSet& mvals);
    // A new import, when the settings archive every one.
    void ArchiveImport();
    // Writes `mvals` to `knownPath` when that file may be written, else where the user
    // chooses; the file written, or nothing (reported, stopped or declined).
    std::optional<QString> Save(const MValSet& mvals, const QString& knownPath);
    bool Print();
    void Export();
    void ArchiveAdd();

private:
    // Archives the dataset and shows what quality control says of its control points.
    void Archive(const QString& sourceFile);

    frmDocument& m_document;
    MainFrame& m_main;
    DocumentServices m_services;
    const DocumentPrinting& m_printing;
    bool m_importing = false;
};
