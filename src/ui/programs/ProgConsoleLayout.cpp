// The controls of the program console and where they stand.

#include "ui/programs/ProgConsoleLayout.h"

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

ProgConsoleLayout::ProgConsoleLayout(frmProgConsole& console) : m_console(console) {}

void ProgConsoleLayout::CreateControls() {
    frmProgConsole& c = m_console;
    c.imgHeader = NewControl<QLabel>(&c, "imgHeader");
    c.imgLogo = NewControl<QLabel>(&c, "imgLogo");
    c.fraProgsMeter = NewControl<QGroupBox>(&c, "fraProgsMeter", "1092");
    c.lstProgsMeter = NewControl<QListWidget>(c.fraProgsMeter, "lstProgsMeter");
    c.fraProgsPC = NewControl<QGroupBox>(&c, "fraProgsPC");
    c.lstProgsPC = NewControl<QListWidget>(c.fraProgsPC, "lstProgsPC");
    c.fraProgram = new ProgramPanel(&c);
    c.cmdDeleteMeter = NewButton(c.fraProgsMeter, "cmdDeleteMeter", "1094", "1188");
    c.cmdDeleteAllMeter = NewButton(c.fraProgsMeter, "cmdDeleteAllMeter", "1098", "1189");
    c.cmdCopyToPC = NewButton(&c, "cmdCopyToPC", "1165", "1191");
    c.cmdCopyToMeter = NewButton(&c, "cmdCopyToMeter", "1166", "1192");
    c.cmdCopyToPCAll = NewButton(&c, "cmdCopyToPCAll", "1168", "1193");
    c.cmdCopyToMeterAll = NewButton(&c, "cmdCopyToMeterAll", "1167", "1194");
    c.cmdDeletePC = NewButton(c.fraProgsPC, "cmdDeletePC", "1094", "1188");
    c.cmdDeleteAllPC = NewButton(c.fraProgsPC, "cmdDeleteAllPC", "1098", "1190");
    c.cmdCancel = NewButton(&c, "cmdCancel", "1069", nullptr);
    c.cmdModifyProgram = NewButton(&c, "cmdModifyProgram", "1161", "1186");
    c.cmdNewProgram = NewButton(&c, "cmdNewProgram", "1020", "1187");
    c.cmdChangeWorkDir = NewButton(c.fraProgsPC, "cmdChangeWorkDir", nullptr, "1172");
    c.sbWorkDir = NewControl<QStatusBar>(&c, "sbWorkDir");
    c.sbWorkDir->setSizeGripEnabled(false);
    c.sbWorkDirText = NewControl<QLabel>(c.sbWorkDir, "sbWorkDirText");
    c.sbWorkDir->addWidget(c.sbWorkDirText, 1);
    c.timUpdate = new QTimer(&c);
    c.timUpdate->setObjectName(QStringLiteral("timUpdate"));
    c.timUpdate->setInterval(5000);
    // Enter in the meter list pressed "Effacer" and asked to delete a program.
    NoDefaultButtons(&c);
}

void ProgConsoleLayout::LayOut(BusyState& busy) {
    frmProgConsole& c = m_console;
    const int listWidth =
        c.fontMetrics().horizontalAdvance(QStringLiteral("905   (PROG 905.csv)  "));
    auto* meter = new QVBoxLayout(c.fraProgsMeter);
    meter->addWidget(c.lstProgsMeter, 1);
    meter->addWidget(c.cmdDeleteMeter);
    meter->addWidget(c.cmdDeleteAllMeter);
    c.lstProgsMeter->setMinimumWidth(listWidth / 2);
    auto* pc = new QGridLayout(c.fraProgsPC);
    pc->addWidget(c.lstProgsPC, 0, 0, 1, 2);
    pc->addWidget(c.cmdDeletePC, 1, 0);
    pc->addWidget(c.cmdChangeWorkDir, 1, 1, 2, 1);
    pc->addWidget(c.cmdDeleteAllPC, 2, 0);
    pc->setRowStretch(0, 1);
    c.lstProgsPC->setMinimumWidth(listWidth);

    auto* copy = new QVBoxLayout;
    copy->addStretch();
    for (QPushButton* button :
         {c.cmdCopyToPC, c.cmdCopyToMeter, c.cmdCopyToPCAll, c.cmdCopyToMeterAll}) {
        copy->addWidget(button);
    }
    copy->addStretch();
    auto* lists = new QHBoxLayout;
    lists->addWidget(c.fraProgsMeter);
    lists->addLayout(copy);
    lists->addWidget(c.fraProgsPC, 1);

    auto* header = new QHBoxLayout;
    header->addWidget(c.imgHeader);
    header->addStretch();
    header->addWidget(c.imgLogo);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {c.cmdNewProgram, c.cmdModifyProgram, c.cmdCancel}) {
        buttons->addWidget(button);
    }
    auto* root = new QVBoxLayout(NewBusyContent(c, busy));
    root->addLayout(header);
    root->addLayout(lists, 1);
    root->addWidget(c.fraProgram);
    root->addLayout(buttons);
    root->addWidget(c.sbWorkDir);
}

void ProgConsoleLayout::SetTabOrder() {
    const frmProgConsole& c = m_console;
    const QList<QWidget*> chain{c.lstProgsMeter,     c.cmdDeleteMeter,  c.cmdDeleteAllMeter,
                                c.cmdCopyToPC,       c.cmdCopyToMeter,  c.cmdCopyToPCAll,
                                c.cmdCopyToMeterAll, c.lstProgsPC,      c.cmdDeletePC,
                                c.cmdDeleteAllPC,    c.cmdCancel,       c.cmdModifyProgram,
                                c.cmdNewProgram,     c.cmdChangeWorkDir};
    for (int i = 1; i < chain.size(); ++i) {
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    }
}

void ProgConsoleLayout::LoadPictures(CIni& ini) {
    frmProgConsole& c = m_console;
    LoadWindowPictures(ini, &c, c.imgHeader, c.imgLogo);
    const QString workDir = GraficsFile(QStringLiteral("ChangeWorkDir.png"));
    c.cmdChangeWorkDir->setIcon(QFileInfo::exists(workDir)
                                    ? QIcon(workDir)
                                    : c.style()->standardIcon(QStyle::SP_DirOpenIcon));
}
