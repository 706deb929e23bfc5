#include "ui/calibration/frmCalProtocolPH.h"

#include "calibration/CCalProtocol.h"
#include "calibration/ProtocolDisplay.h"
#include "meter/CDevice.h"
#include "ui/app/Controls.h"
#include "ui/calibration/ProtocolWindowParts.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace {

QLabel* Numbered(QWidget* parent, const char* stem, int k) {
    const QByteArray name = QByteArray(stem) + QByteArray::number(k);
    return NewControl<QLabel>(parent, name.constData());
}

} // namespace

frmCalProtocolPH::frmCalProtocolPH(WindowHost& main, ProtocolServices services, const QString& path)
    : CalProtocolWindow(main, services, true, "frmCalProtocolPH", "1220") {
    BuildPHControls();
    Form_Load(path);
}

void frmCalProtocolPH::BuildPHControls() {
    lblSlope = NewControl<QLabel>(frmProtocol, "lblSlope", "1225");
    lblAsy = NewControl<QLabel>(frmProtocol, "lblAsy", "1226");
    lblSensQual = NewControl<QLabel>(frmProtocol, "lblSensQual", "1227");
    lblSlopeValue = NewControl<QLabel>(frmProtocol, "lblSlopeValue");
    lblAsyValue = NewControl<QLabel>(frmProtocol, "lblAsyValue");
    lblSensQualValue = NewControl<QLabel>(frmProtocol, "lblSensQualValue");
    int row = AddCaptionRows(
        m_protocolGrid, 4,
        {{lblSlope, lblSlopeValue}, {lblAsy, lblAsyValue}, {lblSensQual, lblSensQualValue}});
    for (int k = 0; k < 3; ++k) {
        lblBufNo[k] = Numbered(frmProtocol, "lblBufNo", k + 1);
        lblBufPH[k] = Numbered(frmProtocol, "lblBufPH", k + 1);
        lblBufVolt[k] = Numbered(frmProtocol, "lblBufVolt", k + 1);
        lblBufTemp[k] = Numbered(frmProtocol, "lblBufTemp", k + 1);
        int column = 0;
        for (QLabel* cell : {lblBufNo[k], lblBufPH[k], lblBufVolt[k], lblBufTemp[k]}) {
            m_protocolGrid->addWidget(cell, row, column++);
        }
        ++row;
    }
    m_protocolGrid->setColumnStretch(3, 1);
}

void frmCalProtocolPH::ClearDisplay() {
    CalProtocolWindow::ClearDisplay();
    for (QLabel* value : {lblSlopeValue, lblAsyValue, lblSensQualValue}) {
        value->clear();
    }
    for (int k = 0; k < 3; ++k) {
        for (QLabel* cell : {lblBufNo[k], lblBufPH[k], lblBufVolt[k], lblBufTemp[k]}) {
            cell->clear();
        }
    }
}

bool frmCalProtocolPH::ShowProtocol() {
    QString meter, serNo, user, date, time, interval, mode, slope, asy, quality;
    bool showTempF = false;
    bool showSlopePC = false;
    short points = 0;
    QStringList ph, mV, temp;
    if (!m_services.calProtocol.GetProtocolPH(meter, serNo, user, date, time, interval, mode, slope,
                                              asy, quality, showTempF, showSlopePC, points, ph, mV,
                                              temp)) {
        return false;
    }
    ShowCommonFields(meter, serNo, user, date, time, interval, mode);
    lblSlopeValue->setText(SlopeDisplayText(slope, showSlopePC));
    lblAsyValue->setText(asy + QStringLiteral(" mV"));
    lblSensQualValue->setText(quality);
    ShowPoints(points, ph, mV, temp, showTempF);
    return true;
}

void frmCalProtocolPH::ShowPoints(short nNumCalPoints, const QStringList& strPHValues,
                                  const QStringList& strVoltageValues_mV,
                                  const QStringList& strTempValues_C, bool fShowTempF) {
    const int shown = std::min<int>(nNumCalPoints, static_cast<int>(strPHValues.size()));
    for (int k = 0; k < shown; ++k) {
        lblBufNo[k]->setText(QStringLiteral("#%1").arg(k + 1));
        lblBufPH[k]->setText(strPHValues[k]);
        lblBufVolt[k]->setText(strVoltageValues_mV[k] + QStringLiteral(" mV"));
        lblBufTemp[k]->setText(
            TemperatureDisplayText(m_services.calProtocol, strTempValues_C[k], fShowTempF));
    }
}

bool frmCalProtocolPH::MeterHasChannel() const {
    return m_services.device.SupportsPH();
}

bool frmCalProtocolPH::UpdateFromMeter() {
    return m_services.calProtocol.UpdateFromMeter(true, false);
}

QString frmCalProtocolPH::FileNameKind() const {
    return m_services.calProtocol.IsProtocolPH() ? QStringLiteral("pH") : QStringLiteral("Turb");
}
