#pragma once

#include "app/Ui.h"
#include "programs/ProgramRecord.h"
#include "ui/programs/ProgramCopy.h"
#include "ui/programs/ProgramDeletion.h"
#include "ui/programs/ProgramSelection.h"
#include "ui/programs/ProgramServices.h"

#include <QDialog>
#include <optional>

class ProgramPanel;
class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QStatusBar;
class QTimer;

// The program console: the meter's programs and the program files of the work directory
// side by side, the selected program read-only, copying and deleting in both directions,
// the editor for a new program or a change, and the choice of the work directory.
class frmProgConsole : public QDialog, public ProgramSelection {
    Q_OBJECT
public:
    frmProgConsole(ProgramServices services, QWidget* mainWindow);

    bool NewProgramPressed() const override { return m_newProgramPressed; }
    bool GetSelProgram(QString& strProgNum, QString& strFileName, bool& fMeterSelected) override;
    bool RequestSelProgram(const QString& strProgNum, const QString& strFileName,
                           bool fMeterSelected) override;
    bool MeterListValid() const { return m_meterListValid; }

    QLabel* imgHeader = nullptr;
    QLabel* imgLogo = nullptr;
    QGroupBox* fraProgsMeter = nullptr;
    QListWidget* lstProgsMeter = nullptr;
    QGroupBox* fraProgsPC = nullptr;
    QListWidget* lstProgsPC = nullptr;
    ProgramPanel* fraProgram = nullptr;
    QPushButton* cmdDeleteMeter = nullptr;
    QPushButton* cmdDeleteAllMeter = nullptr;
    QPushButton* cmdCopyToPC = nullptr;
    QPushButton* cmdCopyToMeter = nullptr;
    QPushButton* cmdCopyToPCAll = nullptr;
    QPushButton* cmdCopyToMeterAll = nullptr;
    QPushButton* cmdDeletePC = nullptr;
    QPushButton* cmdDeleteAllPC = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdModifyProgram = nullptr;
    QPushButton* cmdNewProgram = nullptr;
    QPushButton* cmdChangeWorkDir = nullptr;
    QStatusBar* sbWorkDir = nullptr;
    QLabel* sbWorkDirText = nullptr;
    QTimer* timUpdate = nullptr;

    void lstProgsMeter_Click();
    void lstProgsPC_Click();
    void timUpdate_Timer();
    void cmdDeleteMeter_Click();
    void cmdDeleteAllMeter_Click();
    void cmdDeletePC_Click();
    void cmdDeleteAllPC_Click();
    void cmdCopyToPC_Click();
    void cmdCopyToPCAll_Click();
    void cmdCopyToMeter_Click();
    void cmdCopyToMeterAll_Click();
    void cmdNewProgram_Click();
    void cmdModifyProgram_Click();
    void cmdChangeWorkDir_Click();

protected:
    // While a copy of all runs, the close box and Escape end the copy and then the console.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Selection {
        QString number;
        QString fileName;
        bool meter = false;
        QString Key() const { return meter ? number : fileName; }
    };

    void ConnectHandlers();
    void Form_Load();
    bool ShowMeterList();
    bool ShowPCList();
    bool ReadMeterList();
    void ShowProgram(const ProgramRecord& strProgram);
    void ClearProgram();
    void ShowWorkDir();
    void SelectEntry(bool fDefault, bool fMeterSelected, const QString& key);
    void SelectDefault(bool fMeterPreferred);
    void SelectRow(QListWidget* list, int row);
    void Deselect(QListWidget* list);
    void UpdateButtons(bool fDefault, bool fMeterSelected, const QString& key);
    void UpdateButtons(const Selection& selection) {
        UpdateButtons(false, selection.meter, selection.Key());
    }
    // The list's entry when one is selected, else none.
    static QListWidgetItem* SelectedItem(const QListWidget* list);
    static QString FileNameOf(const QListWidgetItem* item);
    // The click handling of either list: the entry's program shown, the other list
    // deselected, the buttons updated.
    void ShowSelectedEntry(bool fMeter);
    Selection CurrentSelection();
    // The current selection, or message 1158 and nothing.
    std::optional<Selection> RequiredSelection();
    void Report(int message, int title = 1033, MsgIcon icon = MsgIcon::Critical);
    // The list shown again, or its message.
    void ShowMeterListOrReport();
    void ShowPCListOrReport();

    // The editor, modal; the lists are refreshed and the pending selection chosen after it.
    void OpenEditor();

    ProgramServices m_services;
    QWidget* m_mainWindow;
    ProgramCopy m_copy;
    ProgramDeletion m_deletion;
    bool m_meterListValid = false;
    bool m_newProgramPressed = false;
    Selection m_pending;
    // Set while the program itself changes a list's selection.
    bool m_selecting = false;
};
