#pragma once

#include "ui/data/DocumentServices.h"

#include <QList>

class frmDocument;
class MainFrame;
class QAction;
struct AppMenus;

// "Invalider…" and "Rétablir…" in a document read back from the archive: the selected records
// are set aside (or count again) in the archive with the reason asked for, off the window's
// thread under the runner's wait dialog, and the document follows what the archive did.
// Records the archive does not hold (an import, a file) cannot be, and the window says so.
class DocumentValidity {
public:
    DocumentValidity(frmDocument& document, MainFrame& main, DocumentServices services);

    // The two entries at the end of the edit menu.
    void AddEntries(const AppMenus& menus);
    // Asks the reason and changes the selected records; false when nothing changed.
    bool Change(bool valid);
    // Whether the document holds archived records the entries can act on.
    void UpdateEntries();

    QAction* mnuEditInvalidate = nullptr;
    QAction* mnuEditRestore = nullptr;

private:
    // The archive's ids of the selected records that are not in the state `valid` yet;
    // `archived`: whether any selected record came from the archive.
    QList<qint64> SelectedIds(bool valid, bool& archived) const;
    // Writes the change; the records whose state changed, or nothing (reported or stopped).
    std::optional<QList<qint64>> Write(const QList<qint64>& ids, bool valid, const QString& reason);
    void Take(const QList<qint64>& changed, bool valid, const QString& reason);

    frmDocument& m_document;
    MainFrame& m_main;
    DocumentServices m_services;
};
