#pragma once

#include "archive/ArchiveExtract.h"
#include "data/MValSet.h"
#include "ui/app/AppMenus.h"
#include "ui/data/DocumentCommands.h"
#include "ui/data/DocumentGrid.h"
#include "ui/data/DocumentPrinting.h"
#include "ui/data/DocumentRecovery.h"
#include "ui/data/DocumentReviews.h"
#include "ui/data/DocumentServices.h"
#include "ui/data/DocumentValidity.h"

#include <QRect>
#include <QWidget>
#include <memory>
#include <optional>

class frmDocumentGraph;
class MainFrame;
class QcBanner;
struct QcImportVerdict;
class QGroupBox;
class QLabel;
class QTableView;

// A dataset document: the header of the import (meter, serial number, user, date, time)
// above the table of its records. Only the dataset commands act here; every other menu
// entry is handed to the main window.
class frmDocument : public QWidget {
    Q_OBJECT
public:
    frmDocument(MainFrame& main, DocumentServices services, QWidget* parent = nullptr);

    // Runs once the window is a child of the main window, so that it counts as open.
    void Form_Load();

    const AppMenus& Menus() const { return m_menus; }
    bool IsUnloaded() const { return m_unloaded; }
    // 11 = hourglass, 0 = default; on the window and its grid.
    void SetMousePointer(int intMousePointerVal);

    // The dataset commands (also reached from the main window's tool bar).
    void MenuImport();
    void MenuFileSave();
    void MenuFileSaveAs();
    void MenuFilePrint();
    void MenuExport();
    // Adds the dataset to the archive (again): after an archive could not be reached.
    void MenuArchiveAdd();
    bool FillFromFile(const QString& path);
    enum class OpenResult { Opened, Failed, Stopped };
    // FillFromFile telling a failure (reported, the table left empty) from the user's stop
    // (nothing reported, the document as it was).
    OpenResult OpenFromFile(const QString& path);
    // Before a modified dataset is dropped (closing, a new import, a file opened in its
    // place): the save question. "Non" goes on; "Oui" saves and goes on only when it saved;
    // Cancel, Escape and the close box do not go on.
    bool MayDropDataset();
    // Closes the window without asking again: MayDropDataset was answered just before.
    void CloseAsked();
    // Shows records read back from the archive under a header that says where they come
    // from. They are stored already: the document is unmodified until the user changes it.
    void ShowDataset(MValSet& mvals, const ArchiveExtract& extract);
    // A recovery copy a previous run left (RecoveryStore): shown as the unsaved import it
    // was, without a file, modified; the copy stays until the dataset is saved or dropped.
    bool OpenRecovered(const QString& path);
    // The recovery copy of the unsaved dataset shown, or empty.
    const QString& RecoveryPath() const { return m_recovery.Path(); }
    // Files from this size on open with the wait dialog (about 100 000 records); datasets
    // whose text has at least as many characters (their file about as many bytes) save and
    // export with it.
    static constexpr qint64 kLargeFile = 8 * 1024 * 1024;
    // The graph view of the dataset; null until first shown.
    void MenuGraph();
    frmDocumentGraph* Graph() const { return m_graph; }

    MValSet& MVals() { return m_mvals; }
    const QString& FilePath() const { return m_strFilePath; }
    // Whether the document holds changes that closing would lose: the title's marker and
    // the save question both follow this one answer.
    bool Modified() const { return IsModified(); }
    // True while the import talks to the meter; the window cannot close meanwhile.
    bool Importing() const { return m_commands.Importing(); }
    // Sets the flag of changes made since the last open or save; the title follows.
    void SetModified(bool modified);
    // The name the file dialogs propose (no extension).
    QString ProposedName() const;
    MValTableModel& GridModel() { return m_grid->Model(); }
    // What quality control said of the records just archived: a banner above the table for
    // the rejections, their rows marked.
    void ShowQcVerdict(const QcImportVerdict& verdict);
    // Tells that there is no dataset to save, print or export; false.
    bool ReportNoDataset();
    // Tells that a dataset command failed: text `number` under the error title.
    void ReportError(int number);
    // Sorting, filtering, copying and statistics of the table.
    DatasetTableTools& TableTools() { return m_grid->Tools(); }
    DocumentLimits& Limits() { return m_grid->Limits(); }
    // The reviews of the imports its archived records came from, for the table report.
    const DocumentReviews& Reviews() const { return m_reviews; }
    DocumentReviews& Reviews() { return m_reviews; }
    // "Invalider…" and "Rétablir…" of its archived records.
    DocumentValidity& Validity() { return m_validity; }
    // Shows again which records are set aside, after the dataset's origins changed.
    void ShowValidity();

    QWidget* picHead = nullptr;
    QLabel* imgLogo = nullptr;
    QGroupBox* fraHeader = nullptr;
    QLabel* lblMeter = nullptr;
    QLabel* lblSerNo = nullptr;
    QLabel* lblUser = nullptr;
    QLabel* lblPCDate = nullptr;
    QLabel* lblPCTime = nullptr;
    QLabel* lblMeterValue = nullptr;
    QLabel* lblSerNoValue = nullptr;
    QLabel* lblUserValue = nullptr;
    QLabel* lblPCDateValue = nullptr;
    QLabel* lblPCTimeValue = nullptr;
    QTableView* hfgMVals = nullptr;
    QcBanner* fraQcBanner = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildHead();
    void BuildHeader();
    void BuildGrid();
    void ConnectMenus();
    void LoadPictures(const QString& manufacturer);
    void LayOut();
    void LayOutTable(bool visible, QRect grid);
    void ClearHeader();
    // The file name (or "Groupes de données" without a file), marked while modified.
    void ShowTitle();
    // The dataset in the header and the grid; without header both stay empty.
    bool ShowMVals(bool fWithHeader);
    // Reads the file into the document.
    OpenResult TakeFile(const QString& path);
    void ShowHeader();
    // Asked before the window closes; false keeps it open.
    bool QueryUnload();
    // The end of a successful import.
    void TakeImport(MValSet& mvals);
    // Shows a dataset that has no file (yet); `extract` when it was read from the archive.
    void TakeDataset(MValSet& mvals, const std::optional<ArchiveExtract>& extract);
    // The reviews and the validity entries follow the records' origins.
    void TakeOrigins();
    // The header's title and last two captions: an import's date and time, or where in the
    // archive the records come from, their period and count.
    void ShowHeaderCaptions();
    bool IsModified() const;
    // Save or Save As; on success the document remembers the file and is unmodified.
    bool SaveAndRemember(bool fUseKnownPath);
    void Import();
    // Hands the dataset to an open graph view; an empty one when the table is empty.
    void RefreshGraph(bool shown);

    MainFrame& m_main;
    DocumentServices m_services;
    AppMenus m_menus;
    std::unique_ptr<DocumentGrid> m_grid;
    MValSet m_mvals;
    std::optional<ArchiveExtract> m_extract; // set while the records are the archive's
    QString m_strFilePath;
    DocumentRecovery m_recovery;
    DocumentPrinting m_printing{*this, m_services.printing()};
    DocumentCommands m_commands{*this, m_main, m_services, m_printing};
    DocumentReviews m_reviews{*this, m_services.ini};
    DocumentValidity m_validity{*this, m_main, m_services};
    bool m_modified = false;
    bool m_unloaded = false;
    bool m_dropAsked = false; // the save question was answered for the close under way
    frmDocumentGraph* m_graph = nullptr;
};
