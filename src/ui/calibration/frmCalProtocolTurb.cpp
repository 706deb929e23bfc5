#include "ui/calibration/frmCalProtocolTurb.h"

#include "app/ErrorTrap.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "calibration/CCalProtocol.h"
#include "calibration/ProtocolDisplay.h"
#include "meter/CDevice.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/BusyContent.h"
#include "ui/app/Controls.h"
#include "ui/calibration/ProtocolWindowParts.h"
#include "ui/calibration/frmCalProtEdit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr std::array<const char*, frmCalProtocolTurb::kStandards> kStdNames{"Low", "Mid", "High",
                                                                            "4", "5"};

QLabel* StandardLabel(QWidget* parent, int i, const char* suffix) {
    const QByteArray name = "lblStd" + QByteArray(kStdNames[i]) + suffix;
    return NewControl<QLabel>(parent, name.constData());
}

struct TurbidityProtocol {
    QString meter, serNo, user, date, time, interval, mode;
    short points = 0;
    QStringList standards;

    bool Get(CCalProtocol& protocol) {
        return protocol.GetProtocolTurbidity(meter, serNo, user, date, time, interval, mode, points,
                                             standards);
    }
    // The point count the windows show: at most five standards.
    short Shown() const { return std::min<short>(points, frmCalProtocolTurb::kStandards); }
};

} // namespace

frmCalProtocolTurb::frmCalProtocolTurb(WindowHost& main, ProtocolServices services,
                                       LotEditor lotEditor, const QString& path)
    : CalProtocolWindow(main, services, false, "frmCalProtocolTurb", "1219"),
      m_lotEditor(std::move(lotEditor)) {
    BuildTurbidityControls();
    Form_Load(path);
}

void frmCalProtocolTurb::BuildTurbidityControls() {
    frmCharge = NewControl<QGroupBox>(this, "frmCharge");
    lblLOTTotal = NewControl<QLabel>(frmCharge, "lblLOTTotal", "1232");
    lblExpiry = NewControl<QLabel>(frmCharge, "lblExpiry", "1233");
    lblManufacturer = NewControl<QLabel>(frmCharge, "lblManufacturer", "1234");
    lblLOTTotalValue = NewControl<QLabel>(frmCharge, "lblLOTTotalValue");
    lblExpiryValue = NewControl<QLabel>(frmCharge, "lblExpiryValue");
    lblManufacturerValue = NewControl<QLabel>(frmCharge, "lblManufacturerValue");
    lblUsedStds = NewControl<QLabel>(frmCharge, "lblUsedStds", "1235");
    lblStdComment = NewControl<QLabel>(frmCharge, "lblStdComment", "1236");
    lblStdStatus = NewControl<QLabel>(frmCharge, "lblStdStatus", "1237");
    auto* grid = new QGridLayout(frmCharge);
    int row = AddCaptionRows(grid, 0,
                             {{lblLOTTotal, lblLOTTotalValue},
                              {lblExpiry, lblExpiryValue},
                              {lblManufacturer, lblManufacturerValue}});
    grid->addWidget(lblUsedStds, row, 0);
    grid->addWidget(lblStdComment, row, 1);
    grid->addWidget(lblStdStatus, row++, 2);
    for (int i = 0; i < kStandards; ++i) {
        standardLabels[i] = StandardLabel(frmCharge, i, "");
        commentLabels[i] = StandardLabel(frmCharge, i, "Value");
        statusLabels[i] = StandardLabel(frmCharge, i, "Status");
        grid->addWidget(standardLabels[i], row, 0);
        grid->addWidget(commentLabels[i], row, 1);
        grid->addWidget(statusLabels[i], row++, 2);
    }
    grid->setColumnStretch(1, 1);
    m_extra->addWidget(frmCharge);
    m_protocolGrid->setColumnStretch(1, 1);

    cmdEditLOT = NewControl<QPushButton>(this, "cmdEditLOT", "1231");
    m_buttons->insertWidget(2, cmdEditLOT);
    setTabOrder(cmdReadFile, cmdEditLOT);
    setTabOrder(cmdEditLOT, cmdPrint);
    ConnectCommand(cmdEditLOT, this, m_services.busy, &frmCalProtocolTurb::cmdEditLOT_Click);
}

void frmCalProtocolTurb::ClearDisplay() {
    CalProtocolWindow::ClearDisplay();
    for (QLabel* value : {lblLOTTotalValue, lblExpiryValue, lblManufacturerValue}) {
        value->clear();
    }
    for (int i = 0; i < kStandards; ++i) {
        standardLabels[i]->clear();
        commentLabels[i]->clear();
        statusLabels[i]->clear();
        statusLabels[i]->setProperty("Tag", QString());
    }
}

bool frmCalProtocolTurb::ShowProtocol() {
    CCalProtocol& protocol = m_services.calProtocol;
    TurbidityProtocol p;
    QString lotTotal, expiry, manufacturer;
    QStringList lots;
    if (!p.Get(protocol) || !protocol.GetChargeID(lotTotal, expiry, manufacturer, lots)) {
        return false;
    }
    ShowCommonFields(p.meter, p.serNo, p.user, p.date, p.time, p.interval, p.mode);
    lblLOTTotalValue->setText(lotTotal);
    lblExpiryValue->setText(expiry);
    lblManufacturerValue->setText(manufacturer);
    for (int i = 0; i < kStandards; ++i) {
        const bool used = i < p.Shown();
        standardLabels[i]->setText(used ? StandardDisplayText(p.standards.value(i)) : QString());
        commentLabels[i]->setText(used ? lots.value(i) : QString());
        statusLabels[i]->clear();
        statusLabels[i]->setProperty("Tag", used ? QStringLiteral("1026") : QString());
    }
    // The status of each used standard comes from its Tag, like every caption.
    ApplyCaptions(this);
    return true;
}

void frmCalProtocolTurb::UpdateButtons() {
    CalProtocolWindow::UpdateButtons();
    cmdEditLOT->setEnabled(m_services.calProtocol.IsProtocolValid());
}

bool frmCalProtocolTurb::MeterHasChannel() const {
    return m_services.device.SupportsTurbidity();
}

bool frmCalProtocolTurb::UpdateFromMeter() {
    return m_services.calProtocol.UpdateFromMeter(false, m_services.device.IsArdel60());
}

QString frmCalProtocolTurb::FileNameKind() const {
    if (m_services.calProtocol.IsProtocolPH()) {
        return QStringLiteral("pH");
    }
    return QStringLiteral("Turb ") + lblCalModeValue->text();
}

void frmCalProtocolTurb::cmdEditLOT_Click() {
    TrappedVoid(m_services.ui, [&] {
        TurbidityProtocol p;
        if (!p.Get(m_services.calProtocol)) {
            m_services.ui.Message(LoadResString(1221), LoadResString(1033), MsgIcon::Critical);
            return;
        }
        QPointer<frmCalProtEdit> editor = &m_lotEditor();
        FillLotEditor(*editor, p.points, p.standards);
        editor->exec();
        if (editor && editor->DlgRetVal()) {
            TakeLotFromEditor(*editor);
        }
        UpdateButtons(); // the title marks lot data that is not saved yet
    });
}

void frmCalProtocolTurb::FillLotEditor(frmCalProtEdit& editor, short nNumCalPoints,
                                       const QStringList& strCalStds_FNUNTU) const {
    // The held lot data, not the labels: the rows of unused standards show no lot, yet the
    // protocol (e.g. read from a file) may hold one, which confirming must not blank.
    QString lotTotal, expiry, manufacturer;
    QStringList lots;
    m_services.calProtocol.GetChargeID(lotTotal, expiry, manufacturer, lots);
    editor.ChargeIDTotal(lotTotal);
    editor.Expiry(expiry);
    editor.Manufacturer(manufacturer);
    editor.NumCalPoints(nNumCalPoints);
    for (int i = 0; i < kStandards; ++i) {
        editor.ChargeIDStd(i, lots.value(i));
        const QString value = i < nNumCalPoints ? strCalStds_FNUNTU.value(i) : QString();
        editor.Std_FNUNTU(i, StandardDisplayText(value));
    }
}

void frmCalProtocolTurb::TakeLotFromEditor(const frmCalProtEdit& editor) {
    QStringList lots;
    for (int i = 0; i < kStandards; ++i) {
        lots << editor.ChargeIDStd(i);
    }
    if (!m_services.calProtocol.SetChargeID(editor.ChargeIDTotal(), editor.Expiry(),
                                            editor.Manufacturer(), lots)) {
        m_services.ui.Message(LoadResString(1158), LoadResString(1033), MsgIcon::Critical);
        return;
    }
    lblLOTTotalValue->setText(editor.ChargeIDTotal());
    lblExpiryValue->setText(editor.Expiry());
    lblManufacturerValue->setText(editor.Manufacturer());
    for (int i = 0; i < kStandards; ++i) {
        commentLabels[i]->setText(lots[i]);
    }
    UpdateButtons();
}
