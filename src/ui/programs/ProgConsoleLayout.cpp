// The controls of the program console and where they stand.

#include "app/Services.h"
#include "ui/app/BusyContent.h"
#include "ui/app/Controls.h"
#include "ui/app/Pictures.h"
#include "ui/programs/KeyFilter.h"
#include "ui/programs/ProgramPanel.h"
#include "ui/programs/WindowPictures.h"
#include "ui/programs/frmProgConsole.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QPushButton* NewButton(QWidget* parent, const char* name, const char* caption,
                       const char* toolTip) {
    auto* button = NewControl<QPushButton>(parent, name, caption);
    if (toolTip) {
        button->setToolTip(QLatin1String(toolTip));
    }
    return button;
}

} // namespace

void frmProgConsole::CreateControls() {
    imgHeader = NewControl<QLabel>(this, "imgHeader");
    imgLogo = NewControl<QLabel>(this, "imgLogo");
    fraProgsMeter = NewControl<QGroupBox>(this, "fraProgsMeter", "1092");
    lstProgsMeter = NewControl<QListWidget>(fraProgsMeter, "lstProgsMeter");
    fraProgsPC = NewControl<QGroupBox>(this, "fraProgsPC");
    lstProgsPC = NewControl<QListWidget>(fraProgsPC, "lstProgsPC");
    fraProgram = new ProgramPanel(this);
    cmdDeleteMeter = NewButton(fraProgsMeter, "cmdDeleteMeter", "1094", "1188");
    cmdDeleteAllMeter = NewButton(fraProgsMeter, "cmdDeleteAllMeter", "1098", "1189");
    cmdCopyToPC = NewButton(this, "cmdCopyToPC", "1165", "1191");
    cmdCopyToMeter = NewButton(this, "cmdCopyToMeter", "1166", "1192");
    cmdCopyToPCAll = NewButton(this, "cmdCopyToPCAll", "1168", "1193");
    cmdCopyToMeterAll = NewButton(this, "cmdCopyToMeterAll", "1167", "1194");
    cmdDeletePC = NewButton(fraProgsPC, "cmdDeletePC", "1094", "1188");
    cmdDeleteAllPC = NewButton(fraProgsPC, "cmdDeleteAllPC", "1098", "1190");
    cmdCancel = NewButton(this, "cmdCancel", "1069", nullptr);
    cmdModifyProgram = NewButton(this, "cmdModifyProgram", "1161", "1186");
    cmdNewProgram = NewButton(this, "cmdNewProgram", "1020", "1187");
    cmdChangeWorkDir = NewButton(fraProgsPC, "cmdChangeWorkDir", nullptr, "1172");
    sbWorkDir = NewControl<QStatusBar>(this, "sbWorkDir");
    sbWorkDir->setSizeGripEnabled(false);
    sbWorkDirText = NewControl<QLabel>(sbWorkDir, "sbWorkDirText");
    sbWorkDir->addWidget(sbWorkDirText, 1);
    timUpdate = new QTimer(this);
    timUpdate->setObjectName(QStringLiteral("timUpdate"));
    timUpdate->setInterval(5000);
    // Enter in the meter list pressed "Effacer" and asked to delete a program.
    NoDefaultButtons(this);
}

void frmProgConsole::LayOut() {
    const int listWidth = fontMetrics().horizontalAdvance(QStringLiteral("905   (PROG 905.csv)  "));
    auto* meter = new QVBoxLayout(fraProgsMeter);
    meter->addWidget(lstProgsMeter, 1);
    meter->addWidget(cmdDeleteMeter);
    meter->addWidget(cmdDeleteAllMeter);
    lstProgsMeter->setMinimumWidth(listWidth / 2);
    auto* pc = new QGridLayout(fraProgsPC);
    pc->addWidget(lstProgsPC, 0, 0, 1, 2);
    pc->addWidget(cmdDeletePC, 1, 0);
    pc->addWidget(cmdChangeWorkDir, 1, 1, 2, 1);
    pc->addWidget(cmdDeleteAllPC, 2, 0);
    pc->setRowStretch(0, 1);
    lstProgsPC->setMinimumWidth(listWidth);

    auto* copy = new QVBoxLayout;
    copy->addStretch();
    for (QPushButton* button : {cmdCopyToPC, cmdCopyToMeter, cmdCopyToPCAll, cmdCopyToMeterAll}) {
        copy->addWidget(button);
    }
    copy->addStretch();
    auto* lists = new QHBoxLayout;
    lists->addWidget(fraProgsMeter);
    lists->addLayout(copy);
    lists->addWidget(fraProgsPC, 1);

    auto* header = new QHBoxLayout;
    header->addWidget(imgHeader);
    header->addStretch();
    header->addWidget(imgLogo);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {cmdNewProgram, cmdModifyProgram, cmdCancel}) {
        buttons->addWidget(button);
    }
    auto* root = new QVBoxLayout(NewBusyContent(*this, m_services.busy));
    root->addLayout(header);
    root->addLayout(lists, 1);
    root->addWidget(fraProgram);
    root->addLayout(buttons);
    root->addWidget(sbWorkDir);
}

void frmProgConsole::SetTabOrder() {
    const QList<QWidget*> chain{
        lstProgsMeter,  cmdDeleteMeter,    cmdDeleteAllMeter, cmdCopyToPC,     cmdCopyToMeter,
        cmdCopyToPCAll, cmdCopyToMeterAll, lstProgsPC,        cmdDeletePC,     cmdDeleteAllPC,
        cmdCancel,      cmdModifyProgram,  cmdNewProgram,     cmdChangeWorkDir};
    for (int i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}

void frmProgConsole::LoadPictures() {
    LoadWindowPictures(m_services, this, imgHeader, imgLogo);
    const QString workDir = GraficsFile(QStringLiteral("ChangeWorkDir.png"));
    cmdChangeWorkDir->setIcon(QFileInfo::exists(workDir)
                                  ? QIcon(workDir)
                                  : style()->standardIcon(QStyle::SP_DirOpenIcon));
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
