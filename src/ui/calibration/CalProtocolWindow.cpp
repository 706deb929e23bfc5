#include "ui/calibration/CalProtocolWindow.h"

#include "app/ErrorTrap.h"
#include "app/RecentFiles.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "calibration/CCalProtocol.h"
#include "data/AskAndPrint.h"
#include "data/CPrint.h"
#include "meter/CDevice.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/BusyContent.h"
#include "ui/app/Controls.h"
#include "ui/app/HelpContext.h"
#include "ui/app/MeterTask.h"
#include "ui/app/PrintCommands.h"
#include "ui/app/StatusMessage.h"
#include "ui/app/WindowHost.h"
#include "ui/calibration/ProtocolSave.h"
#include "ui/calibration/ProtocolWindowParts.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

CalProtocolWindow::CalProtocolWindow(WindowHost& main, ProtocolServices services, bool fPH,
                                     const char* name, const char* tag)
    : QDialog(main.FrameWindow()), m_services(services), m_main(main), m_fPH(fPH) {
    BuildControls(name, tag);
    LayOut();
}

void CalProtocolWindow::BuildControls(const char* name, const char* tag) {
    setObjectName(QLatin1String(name));
    setProperty("Tag", QLatin1String(tag));
    SetHelpContext(this, HelpContext::kCalProtocol);
    imgHead = NewControl<QLabel>(this, "imgHead");
    imgLogo = NewControl<QLabel>(this, "imgLogo");
    frmDevice = NewControl<QGroupBox>(this, "frmDevice");
    frmProtocol = NewControl<QGroupBox>(this, "frmProtocol");
    lblMeter = NewControl<QLabel>(frmDevice, "lblMeter", "1063");
    lblSerNo = NewControl<QLabel>(frmDevice, "lblSerNo", "1064");
    lblUser = NewControl<QLabel>(frmDevice, "lblUser", "1176");
    lblMeterValue = NewControl<QLabel>(frmDevice, "lblMeterValue");
    lblSerNoValue = NewControl<QLabel>(frmDevice, "lblSerNoValue");
    lblUserValue = NewControl<QLabel>(frmDevice, "lblUserValue");
    lblCalDate = NewControl<QLabel>(frmProtocol, "lblCalDate", "1049");
    lblCalTime = NewControl<QLabel>(frmProtocol, "lblCalTime", "1050");
    lblCalInterval = NewControl<QLabel>(frmProtocol, "lblCalInterval", "1222");
    lblCalMode = NewControl<QLabel>(frmProtocol, "lblCalMode", "1224");
    lblCalDateValue = NewControl<QLabel>(frmProtocol, "lblCalDateValue");
    lblCalTimeValue = NewControl<QLabel>(frmProtocol, "lblCalTimeValue");
    lblCalIntervalValue = NewControl<QLabel>(frmProtocol, "lblCalIntervalValue");
    lblCalModeValue = NewControl<QLabel>(frmProtocol, "lblCalModeValue");
    cmdSaveAsFile = NewControl<QPushButton>(this, "cmdSaveAsFile", "1111");
    cmdReadFile = NewControl<QPushButton>(this, "cmdReadFile", "1230");
    cmdPrint = NewControl<QPushButton>(this, "cmdPrint", "1023");
    cmdCancel = NewControl<QPushButton>(this, "cmdCancel", "1069");
    const auto onClick = [this](QPushButton* button, void (CalProtocolWindow::*handler)()) {
        ConnectCommand(button, this, m_services.busy, handler);
    };
    onClick(cmdSaveAsFile, &CalProtocolWindow::cmdSaveAsFile_Click);
    onClick(cmdReadFile, &CalProtocolWindow::cmdReadFile_Click);
    onClick(cmdPrint, &CalProtocolWindow::PrintProtocol);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    AddPrintOptions();
}

void CalProtocolWindow::AddPrintOptions() {
    cmdPrintOptions = NewControl<QPushButton>(this, "cmdPrintOptions", "1267");
    cmdPrintOptions->setToolTip(QStringLiteral("1268"));
    auto* menu = new QMenu(cmdPrintOptions);
    menu->setObjectName(QStringLiteral("mnuPrintOptions"));
    menu->setToolTipsVisible(true);
    const PrintActions print = NewPrintActions(this, m_services.printing(), "mnu", [this] {
        Printout printout;
        printout.print = [this](LinePrinter& printer) {
            return m_services.print.PrintCalProtocol(printer);
        };
        printout.pdfName = ProposedProtocolName(m_services.calProtocol, FileNameKind());
        return std::optional<Printout>(printout);
    });
    menu->addActions({print.printTo, print.preview, print.exportPdf});
    cmdPrintOptions->setMenu(menu);
}

void CalProtocolWindow::LayOut() {
    auto* device = new QGridLayout(frmDevice);
    AddCaptionRows(device, 0,
                   {{lblMeter, lblMeterValue}, {lblSerNo, lblSerNoValue}, {lblUser, lblUserValue}});
    device->setColumnStretch(1, 1);
    m_protocolGrid = new QGridLayout(frmProtocol);
    AddCaptionRows(m_protocolGrid, 0,
                   {{lblCalDate, lblCalDateValue},
                    {lblCalTime, lblCalTimeValue},
                    {lblCalInterval, lblCalIntervalValue},
                    {lblCalMode, lblCalModeValue}});
    auto* head = new QHBoxLayout;
    head->addWidget(imgHead);
    head->addStretch();
    head->addWidget(imgLogo);
    m_extra = new QVBoxLayout;
    m_buttons = new QHBoxLayout;
    for (QPushButton* button : {cmdSaveAsFile, cmdReadFile, cmdPrint, cmdPrintOptions, cmdCancel}) {
        m_buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(frmDevice);
    layout->addWidget(frmProtocol);
    layout->addLayout(m_extra);
    layout->addLayout(m_buttons);
    setTabOrder(cmdSaveAsFile, cmdReadFile);
    setTabOrder(cmdReadFile, cmdPrint);
    setTabOrder(cmdPrint, cmdPrintOptions);
    setTabOrder(cmdPrintOptions, cmdCancel);
}

void CalProtocolWindow::Form_Load(const QString& path) {
    TrappedVoid(m_services.ui, [&] {
        ApplyCaptions(this);
        LoadProtocolPictures(m_services.ini, this, imgHead, imgLogo);
        for (QGroupBox* frame : findChildren<QGroupBox*>()) {
            frame->setTitle(QString());
        }
        ClearDisplay();
        if (!path.isEmpty()) {
            if (MayDropLot()) {
                ReadProtocolFile(path);
            }
        } else if (m_services.device.Online() && MeterHasChannel()) {
            FetchUnlessLotIsKept();
        }
        UpdateButtons();
    });
}

void CalProtocolWindow::ClearDisplay() {
    for (QLabel* value : {lblMeterValue, lblSerNoValue, lblUserValue, lblCalDateValue,
                          lblCalTimeValue, lblCalIntervalValue, lblCalModeValue}) {
        value->clear();
    }
}

void CalProtocolWindow::ShowTitle() {
    // From the Tag, not the title: the captions may have been applied again since.
    const QString caption = LoadResString(property("Tag").toString().toInt());
    const QString& file = m_services.calProtocol.FilePath();
    setWindowTitle(file.isEmpty()
                       ? caption + QStringLiteral("[*]")
                       : QStringLiteral("%1[*] - %2").arg(QFileInfo(file).fileName(), caption));
    setWindowModified(m_services.calProtocol.IsLotModified());
}

void CalProtocolWindow::UpdateButtons() {
    ShowTitle();
    const bool valid = m_services.calProtocol.IsProtocolValid();
    cmdSaveAsFile->setEnabled(valid);
    cmdPrint->setEnabled(valid);
    cmdPrintOptions->setEnabled(valid);
}

void CalProtocolWindow::ShowCommonFields(const QString& strMeter, const QString& strSerNo,
                                         const QString& strUser, const QString& strCalData,
                                         const QString& strCalTime, const QString& strCalInterval_d,
                                         const QString& strMode) {
    lblMeterValue->setText(strMeter);
    lblSerNoValue->setText(strSerNo);
    lblUserValue->setText(strUser);
    lblCalDateValue->setText(strCalData);
    lblCalTimeValue->setText(strCalTime);
    lblCalIntervalValue->setText(strCalInterval_d + QLatin1Char(' ') + LoadResString(1223));
    lblCalModeValue->setText(strMode);
}

void CalProtocolWindow::ReportProtocolError() {
    m_services.ui.Message(LoadResString(1221), LoadResString(1033), MsgIcon::Critical);
}

bool CalProtocolWindow::FetchProtocol() {
    MeterTask task(m_services.tasks(), m_main.FrameWindow(), LoadResString(1149));
    return task.Run([&] { return UpdateFromMeter() && ShowProtocol(); },
                    [&] { ReportProtocolError(); });
}

void CalProtocolWindow::FetchUnlessLotIsKept() {
    // The protocol whose lot is in question is shown while asking, and stays when kept.
    if (m_services.calProtocol.IsLotModified()) {
        ShowProtocol();
    }
    if (!MayDropLot()) {
        return;
    }
    ClearDisplay();
    FetchProtocol();
}

bool CalProtocolWindow::MayDropLot() {
    return MayDropEditedLot(m_services.ui, m_services.calProtocol, [&] { return FileNameKind(); });
}

void CalProtocolWindow::cmdSaveAsFile_Click() {
    if (SaveProtocolAs(m_services.ui, m_services.calProtocol, FileNameKind())) {
        RecentFiles::Add(m_services.calProtocol.FilePath());
        ShowSavedMessage(this, m_services.calProtocol.FilePath());
    }
    UpdateButtons();
}

void CalProtocolWindow::reject() {
    // The lot data live on in the protocol after the window closes, but nothing shows them
    // until they are lost to the next fetch: the question belongs here.
    if (!MayDropLot()) {
        return;
    }
    m_services.calProtocol.DropLotChanges();
    QDialog::reject();
}

void CalProtocolWindow::cmdReadFile_Click() {
    TrappedVoid(m_services.ui, [&] {
        if (!MayDropLot()) {
            return;
        }
        FileDialogRequest request;
        request.title = LoadResString(1230);
        request.filter = ProtocolFileFilter();
        request.kind = FileKind::Protocol;
        request.initialDir = m_services.calProtocol.WorkDir();
        request.fileMustExist = true;
        request.hideReadOnly = true;
        // After a failed read the buttons stay as they were.
        const std::optional<QString> path = m_services.ui.OpenFileDialog(request);
        if (path && ReadProtocolFile(*path)) {
            UpdateButtons();
        }
    });
}

bool CalProtocolWindow::ReadProtocolFile(const QString& path) {
    // A file that is no protocol of this window's kind changes nothing on screen.
    QString reason;
    if (!m_services.calProtocol.ReadFromFile(path, m_fPH, reason)) {
        m_services.ui.Message(LoadResString(1180) + QStringLiteral("\n\n%1\n%2").arg(path, reason),
                              LoadResString(1033), MsgIcon::Critical);
        return false;
    }
    RecentFiles::Add(path);
    ClearDisplay();
    if (!ShowProtocol()) {
        ReportProtocolError();
    }
    return true;
}

void CalProtocolWindow::PrintProtocol() {
    TrappedVoid(m_services.ui, [&] {
        AskAndPrint(m_services.ui, m_services.print,
                    [&] { return m_services.print.PrintCalProtocol(); });
    });
}
