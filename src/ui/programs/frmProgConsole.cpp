#include "ui/programs/frmProgConsole.h"

#include "app/BusyState.h"
#include "app/CIni.h"
#include "app/ErrorTrap.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "meter/CDevice.h"
#include "programs/CUsrDefProg.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/BusyContent.h"
#include "ui/app/HelpContext.h"
#include "ui/app/MeterTask.h"
#include "ui/dialogs/frmChangeDir.h"
#include "ui/programs/ProgConsoleLayout.h"
#include "ui/programs/ProgramMessages.h"
#include "ui/programs/ProgramPanel.h"
#include "ui/programs/frmProgEdit.h"

#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <numeric>

namespace {

// The frame shows a long work directory as its first part, "...", and its last part.
QString ShortWorkDir(const QString& workDir) {
    const QStringList parts = QDir::fromNativeSeparators(workDir).split(QLatin1Char('/'));
    if (parts.size() < 3) {
        return workDir;
    }
    return parts.front() + QStringLiteral("/.../") + parts.back();
}

} // namespace

frmProgConsole::frmProgConsole(ProgramServices services, QWidget* mainWindow)
    : QDialog(mainWindow), m_services(services), m_mainWindow(mainWindow),
      m_copy(services.tasks(), services.login, *this), m_deletion(services.tasks(), *this) {
    setObjectName(QStringLiteral("frmProgConsole"));
    setProperty("Tag", QStringLiteral("1102"));
    SetHelpContext(this, HelpContext::kProgramConsole);
    ProgConsoleLayout layout(*this);
    layout.CreateControls();
    layout.LayOut(m_services.busy);
    layout.SetTabOrder();
    ConnectHandlers();
    installEventFilter(this); // after the busy surface's filter, so that it sees events first
    Form_Load();
}

void frmProgConsole::Form_Load() {
    TrappedVoid(m_services.ui, [&] {
        ApplyCaptions(this);
        ProgConsoleLayout(*this).LoadPictures(m_services.ini);
        fraProgram->SetReadOnly();
        m_meterListValid = ReadMeterList();
        if (!ShowMeterList()) {
            Report(1150);
        }
        ShowWorkDir();
        ShowPCListOrReport();
        UpdateButtons(true, true, QString());
    });
    timUpdate->start();
}

void frmProgConsole::ConnectHandlers() {
    connect(lstProgsMeter, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_selecting && row >= 0) {
            lstProgsMeter_Click();
        }
    });
    connect(lstProgsPC, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_selecting && row >= 0) {
            lstProgsPC_Click();
        }
    });
    connect(timUpdate, &QTimer::timeout, this, &frmProgConsole::timUpdate_Timer);
    const QList<QPair<QPushButton*, void (frmProgConsole::*)()>> handlers{
        {cmdDeleteMeter, &frmProgConsole::cmdDeleteMeter_Click},
        {cmdDeleteAllMeter, &frmProgConsole::cmdDeleteAllMeter_Click},
        {cmdDeletePC, &frmProgConsole::cmdDeletePC_Click},
        {cmdDeleteAllPC, &frmProgConsole::cmdDeleteAllPC_Click},
        {cmdCopyToPC, &frmProgConsole::cmdCopyToPC_Click},
        {cmdCopyToPCAll, &frmProgConsole::cmdCopyToPCAll_Click},
        {cmdCopyToMeter, &frmProgConsole::cmdCopyToMeter_Click},
        {cmdCopyToMeterAll, &frmProgConsole::cmdCopyToMeterAll_Click},
        {cmdNewProgram, &frmProgConsole::cmdNewProgram_Click},
        {cmdModifyProgram, &frmProgConsole::cmdModifyProgram_Click},
        {cmdChangeWorkDir, &frmProgConsole::cmdChangeWorkDir_Click}};
    for (const auto& [button, handler] : handlers) {
        ConnectCommand(button, this, m_services.busy, handler);
    }
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

// While a copy of all runs, the close box and Escape end the copy and then the console.
bool frmProgConsole::eventFilter(QObject* watched, QEvent* event) {
    const bool closing =
        event->type() == QEvent::Close || (event->type() == QEvent::KeyPress &&
                                           static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape);
    if (watched == this && m_copy.Copying() && closing) {
        m_copy.RequestClose();
        event->ignore();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmProgConsole::Report(int message, int title, MsgIcon icon) {
    ReportProgramMessage(m_services.ui, message, title, icon);
}

void frmProgConsole::ShowMeterListOrReport() {
    if (!ShowMeterList()) {
        Report(1152);
    }
}

void frmProgConsole::ShowPCListOrReport() {
    if (!ShowPCList()) {
        Report(1164);
    }
}

// The wait dialog lets the user stop the reading: closing it stops the update.
bool frmProgConsole::ReadMeterList() {
    MeterTask task(m_services.tasks(), m_mainWindow, LoadResString(1149));
    return task.Run([&] { return m_services.usrDefProg.Update(); }, [&] { Report(1150); });
}

bool frmProgConsole::ShowMeterList() {
    const QScopedValueRollback<bool> guard(m_selecting, true);
    lstProgsMeter->clear();
    QStringList numbers(CUsrDefProg::kMaxPrograms);
    short count = 0;
    if (!m_services.usrDefProg.ListMeter(numbers, count)) {
        return false;
    }
    lstProgsMeter->addItems(numbers.mid(0, count));
    return true;
}

// The file name travels with the entry: the text shows it, but a number that is not three
// characters long would make the text's positions point at another file.
bool frmProgConsole::ShowPCList() {
    const QScopedValueRollback<bool> guard(m_selecting, true);
    lstProgsPC->clear();
    QStringList numbers(CUsrDefProg::kMaxPrograms);
    QStringList names(CUsrDefProg::kMaxPrograms);
    short count = 0;
    if (!m_services.usrDefProg.ListPC(numbers, names, count)) {
        return false;
    }
    // The files come in the file system's order; the user looks for a program by number.
    QList<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const int numberA = numbers[a].toInt();
        const int numberB = numbers[b].toInt();
        return numberA != numberB ? numberA < numberB : names[a] < names[b];
    });
    for (int i : order) {
        auto* item =
            new QListWidgetItem(numbers[i] + QStringLiteral("   (") + names[i] + QLatin1Char(')'));
        item->setData(Qt::UserRole, names[i]);
        lstProgsPC->addItem(item);
    }
    return true;
}

void frmProgConsole::ShowProgram(const ProgramRecord& strProgram) {
    fraProgram->ShowProgram(strProgram);
}

void frmProgConsole::ClearProgram() {
    fraProgram->ClearProgram();
}

void frmProgConsole::ShowWorkDir() {
    const QString workDir = m_services.usrDefProg.WorkDir();
    sbWorkDirText->setText(LoadResString(1173) + QLatin1Char(' ') + workDir);
    fraProgsPC->setToolTip(workDir);
    fraProgsPC->setTitle(ShortWorkDir(workDir));
}

bool frmProgConsole::GetSelProgram(QString& strProgNum, QString& strFileName,
                                   bool& fMeterSelected) {
    strProgNum.clear();
    strFileName.clear();
    fMeterSelected = false;
    if (const QListWidgetItem* item = SelectedItem(lstProgsMeter)) {
        fMeterSelected = true;
        strProgNum = item->text();
        return true;
    }
    if (const QListWidgetItem* item = SelectedItem(lstProgsPC)) {
        strFileName = FileNameOf(item);
        return !strFileName.isEmpty();
    }
    return false;
}

bool frmProgConsole::RequestSelProgram(const QString& strProgNum, const QString& strFileName,
                                       bool fMeterSelected) {
    m_pending = Selection{strProgNum, strFileName, fMeterSelected};
    return true;
}

frmProgConsole::Selection frmProgConsole::CurrentSelection() {
    Selection selection;
    GetSelProgram(selection.number, selection.fileName, selection.meter);
    return selection;
}

std::optional<frmProgConsole::Selection> frmProgConsole::RequiredSelection() {
    Selection selection;
    if (!GetSelProgram(selection.number, selection.fileName, selection.meter)) {
        Report(1158);
        return std::nullopt;
    }
    return selection;
}

QListWidgetItem* frmProgConsole::SelectedItem(const QListWidget* list) {
    QListWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? item : nullptr;
}

QString frmProgConsole::FileNameOf(const QListWidgetItem* item) {
    return item->data(Qt::UserRole).toString();
}

void frmProgConsole::lstProgsMeter_Click() {
    ShowSelectedEntry(true);
}

void frmProgConsole::lstProgsPC_Click() {
    ShowSelectedEntry(false);
}

void frmProgConsole::ShowSelectedEntry(bool fMeter) {
    TrappedVoid(m_services.ui, [&] {
        const QListWidgetItem* item = (fMeter ? lstProgsMeter : lstProgsPC)->currentItem();
        if (!item) {
            return;
        }
        Deselect(fMeter ? lstProgsPC : lstProgsMeter);
        const QString key = fMeter ? item->text() : FileNameOf(item);
        CUsrDefProg& store = m_services.usrDefProg;
        ProgramRecord program = EmptyProgramRecord();
        if (fMeter ? store.GetProgramMeter(program, key) : store.ReadFromFile(program, key)) {
            ShowProgram(program);
        } else {
            Report(1103);
            ClearProgram();
        }
        UpdateButtons(false, fMeter, key);
    });
}

void frmProgConsole::Deselect(QListWidget* list) {
    const QScopedValueRollback<bool> guard(m_selecting, true);
    list->setCurrentRow(-1);
}

// Choosing an entry runs the list's click handling, once: an entry already chosen is left.
void frmProgConsole::SelectRow(QListWidget* list, int row) {
    if (list->currentRow() == row && SelectedItem(list)) {
        return;
    }
    {
        const QScopedValueRollback<bool> guard(m_selecting, true);
        list->setCurrentRow(row);
    }
    if (list == lstProgsMeter) {
        lstProgsMeter_Click();
    } else {
        lstProgsPC_Click();
    }
}

void frmProgConsole::SelectDefault(bool fMeterPreferred) {
    QListWidget* first = fMeterPreferred ? lstProgsMeter : lstProgsPC;
    QListWidget* second = fMeterPreferred ? lstProgsPC : lstProgsMeter;
    if (first->count() > 0) {
        SelectRow(first, 0);
        Deselect(second);
    } else if (second->count() > 0) {
        SelectRow(second, 0);
    } else {
        ClearProgram();
    }
}

void frmProgConsole::SelectEntry(bool fDefault, bool fMeterSelected, const QString& key) {
    if (fDefault) {
        SelectDefault(fMeterSelected);
        return;
    }
    QListWidget* list = fMeterSelected ? lstProgsMeter : lstProgsPC;
    if (list->count() == 0) {
        SelectDefault(!fMeterSelected);
        return;
    }
    for (int row = 0; row < list->count(); ++row) {
        const QListWidgetItem* item = list->item(row);
        const QString entryKey = fMeterSelected ? item->text() : FileNameOf(item);
        if (entryKey == key) {
            SelectRow(list, row);
            return;
        }
    }
    SelectDefault(fMeterSelected);
}

void frmProgConsole::UpdateButtons(bool fDefault, bool fMeterSelected, const QString& key) {
    const bool meterEntries = lstProgsMeter->count() > 0;
    const bool fileEntries = lstProgsPC->count() > 0;
    for (QPushButton* button : {cmdDeleteMeter, cmdDeleteAllMeter, cmdCopyToPC, cmdCopyToPCAll}) {
        button->setEnabled(meterEntries);
    }
    for (QPushButton* button : {cmdDeletePC, cmdDeleteAllPC, cmdCopyToMeter, cmdCopyToMeterAll}) {
        button->setEnabled(fileEntries);
    }
    cmdModifyProgram->setEnabled(meterEntries || fileEntries);
    if (!m_services.device.Online()) {
        cmdCopyToMeter->setEnabled(false);
        cmdCopyToMeterAll->setEnabled(false);
    }
    // Without the meter's list nothing may be written to the meter.
    cmdNewProgram->setEnabled(m_meterListValid);
    if (!m_meterListValid) {
        for (QPushButton* button : {cmdModifyProgram, cmdCopyToMeter, cmdCopyToMeterAll}) {
            button->setEnabled(false);
        }
    }
    SelectEntry(fDefault, fMeterSelected, key);
    if (!SelectedItem(lstProgsMeter)) {
        cmdDeleteMeter->setEnabled(false);
        cmdCopyToPC->setEnabled(false);
    }
    if (!SelectedItem(lstProgsPC)) {
        cmdDeletePC->setEnabled(false);
        cmdCopyToMeter->setEnabled(false);
    }
}

void frmProgConsole::timUpdate_Timer() {
    TrappedVoid(m_services.ui, [&] {
        Selection selection;
        const bool selected = GetSelProgram(selection.number, selection.fileName, selection.meter);
        ShowPCList();
        if (selected) {
            UpdateButtons(selection);
        }
    });
}

void frmProgConsole::OpenEditor() {
    {
        frmProgEdit editor(m_services, *this, this);
        editor.exec();
    }
    ShowMeterListOrReport();
    ShowPCListOrReport();
    UpdateButtons(m_pending);
}

void frmProgConsole::cmdNewProgram_Click() {
    m_newProgramPressed = true;
    timUpdate->stop();
    TrappedVoid(m_services.ui, [&] {
        QString free;
        if (!m_services.usrDefProg.GetFreeProgNumMeter(free)) {
            m_services.ui.Message(LoadResString(1156) + QStringLiteral("\r\n") +
                                      LoadResString(1157),
                                  LoadResString(1115), MsgIcon::Warning);
            return;
        }
        m_pending = CurrentSelection();
        OpenEditor();
    });
    timUpdate->start();
}

void frmProgConsole::cmdModifyProgram_Click() {
    m_newProgramPressed = false;
    timUpdate->stop();
    TrappedVoid(m_services.ui, [&] {
        const std::optional<Selection> selection = RequiredSelection();
        if (selection) {
            m_pending = *selection;
            OpenEditor();
        }
    });
    timUpdate->start();
}

void frmProgConsole::cmdChangeWorkDir_Click() {
    timUpdate->stop();
    TrappedVoid(m_services.ui, [&] {
        const Selection selection = CurrentSelection();
        QString path;
        {
            frmChangeDir chooser(m_services.usrDefProg, m_services.ui, this);
            path = chooser.Path();
        }
        if (!path.isEmpty()) {
            m_services.usrDefProg.WorkDir(path);
            ShowWorkDir();
            ShowPCListOrReport();
        }
        UpdateButtons(selection);
    });
    timUpdate->start();
}

void frmProgConsole::cmdDeleteMeter_Click() {
    TrappedVoid(m_services.ui, [&] {
        const QListWidgetItem* item = SelectedItem(lstProgsMeter);
        if (item && m_deletion.DeleteMeterProgram(item->text())) {
            ShowMeterListOrReport();
            UpdateButtons(true, true, QString());
        }
    });
}

void frmProgConsole::cmdDeleteAllMeter_Click() {
    TrappedVoid(m_services.ui, [&] {
        if (lstProgsMeter->count() > 0 && m_deletion.DeleteAllMeterPrograms()) {
            ShowMeterListOrReport();
            UpdateButtons(true, false, QString());
        }
    });
}

void frmProgConsole::cmdDeletePC_Click() {
    TrappedVoid(m_services.ui, [&] {
        const std::optional<Selection> selection = RequiredSelection();
        if (!selection) {
            return;
        }
        m_deletion.DeleteFile(selection->fileName);
        ShowPCListOrReport();
        UpdateButtons(*selection);
    });
}

void frmProgConsole::cmdDeleteAllPC_Click() {
    TrappedVoid(m_services.ui, [&] {
        const std::optional<Selection> selection = RequiredSelection();
        if (!selection || !m_deletion.DeleteAllFiles()) {
            return;
        }
        ShowPCListOrReport();
        UpdateButtons(*selection);
    });
}

void frmProgConsole::cmdCopyToPC_Click() {
    TrappedVoid(m_services.ui, [&] {
        const QListWidgetItem* item = SelectedItem(lstProgsMeter);
        if (!item) {
            return;
        }
        const QString number = item->text();
        if (m_copy.SaveMeterProgramToFile(number) != ProgramCopy::Outcome::Done) {
            return;
        }
        ShowPCListOrReport();
        UpdateButtons(false, true, number);
    });
}

// One folder for all programs, asked once: a dialog per program made copying fifty
// programs fifty dialogs.
void frmProgConsole::cmdCopyToPCAll_Click() {
    TrappedVoid(m_services.ui, [&] {
        const std::optional<Selection> selection = RequiredSelection();
        if (!selection) {
            return;
        }
        QString folder;
        {
            frmChangeDir chooser(m_services.usrDefProg, m_services.ui, this);
            chooser.setWindowTitle(LoadResString(1765));
            folder = chooser.Path();
        }
        if (folder.isEmpty()) {
            return;
        }
        QStringList numbers;
        for (int row = 0; row < lstProgsMeter->count(); ++row) {
            numbers << lstProgsMeter->item(row)->text();
        }
        bool cancelled = false;
        const ProgramCopy::Tally tally = m_copy.CopyMeterProgramsInto(folder, numbers, cancelled);
        ShowPCListOrReport();
        UpdateButtons(*selection);
        m_copy.ReportCopyAll(folder, tally, cancelled);
    });
}

void frmProgConsole::cmdCopyToMeter_Click() {
    TrappedVoid(m_services.ui, [&] {
        const QListWidgetItem* item = SelectedItem(lstProgsPC);
        if (!item) {
            return;
        }
        const QString fileName = FileNameOf(item);
        ProgramRecord program = EmptyProgramRecord();
        if (!m_services.usrDefProg.ReadFromFile(program, fileName)) {
            Report(1103);
            return;
        }
        m_copy.CopyFileProgramToMeter(program, false);
        ShowMeterListOrReport();
        UpdateButtons(false, false, fileName);
    });
}

// The meter's list is shown again after each program, so that the user sees the copy go on.
void frmProgConsole::cmdCopyToMeterAll_Click() {
    TrappedVoid(m_services.ui, [&] {
        const std::optional<Selection> selection = RequiredSelection();
        if (!selection) {
            return;
        }
        QStringList fileNames;
        for (int row = 0; row < lstProgsPC->count(); ++row) {
            fileNames << FileNameOf(lstProgsPC->item(row));
        }
        m_copy.CopyAll(fileNames, [&](const QString& fileName, int& copied) {
            ProgramRecord program = EmptyProgramRecord();
            if (fileName.isEmpty() || !m_services.usrDefProg.ReadFromFile(program, fileName)) {
                Report(1103);
                return false;
            }
            const ProgramCopy::Outcome outcome = m_copy.CopyFileProgramToMeter(program, true);
            if (outcome == ProgramCopy::Outcome::Cancelled) {
                m_copy.ReportCopyInterrupted();
            }
            if (outcome == ProgramCopy::Outcome::Cancelled ||
                outcome == ProgramCopy::Outcome::Failed) {
                return false;
            }
            copied += outcome == ProgramCopy::Outcome::Done ? 1 : 0;
            if (!ShowMeterList()) {
                Report(1152);
                UpdateButtons(true, true, QString());
                return false;
            }
            UpdateButtons(*selection);
            return true;
        });
    });
}
