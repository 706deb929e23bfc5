#pragma once

#include "data/RecordSelection.h"
#include "ui/app/PrintCommands.h"

#include <optional>

class frmDocument;
class LimitFlags;
struct AppMenus;

// The document's printouts beside the quick print: the file menu's print dialog, preview
// and PDF export, and which records a printout takes.
class DocumentPrinting {
public:
    DocumentPrinting(frmDocument& document, PrintServices services);

    // "Imprimer…", "Aperçu avant impression" and "Exporter en PDF…" in the file menu.
    void AddEntries(const AppMenus& menus);
    // The records a printout takes of the table's `shown` rows, as the printouts' choice
    // "only the rows shown" says; never a record set aside in the archive.
    RecordSelection PrintedRecords(const RecordSelection& shown) const;
    // The limit values the table judges its records by, which the report marks too.
    const LimitFlags& Limits() const;

private:
    std::optional<Printout> DatasetPrintout();

    frmDocument& m_document;
    PrintServices m_services;
};
