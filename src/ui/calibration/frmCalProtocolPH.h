#pragma once

#include "ui/calibration/CalProtocolWindow.h"

#include <array>

// The last pH calibration protocol: slope, asymmetry, sensor quality and up to three
// calibration points. Opened modally from the main window.
class frmCalProtocolPH : public CalProtocolWindow {
    Q_OBJECT
public:
    // With a `path`, the window shows that protocol file instead of fetching the meter's.
    frmCalProtocolPH(WindowHost& main, ProtocolServices services, const QString& path = QString());

    QLabel* lblSlope = nullptr;
    QLabel* lblAsy = nullptr;
    QLabel* lblSensQual = nullptr;
    QLabel* lblSlopeValue = nullptr;
    QLabel* lblAsyValue = nullptr;
    QLabel* lblSensQualValue = nullptr;
    // One row per calibration point: number, pH, voltage and temperature.
    std::array<QLabel*, 3> lblBufNo{};
    std::array<QLabel*, 3> lblBufPH{};
    std::array<QLabel*, 3> lblBufVolt{};
    std::array<QLabel*, 3> lblBufTemp{};

protected:
    void ClearDisplay() override;
    bool ShowProtocol() override;
    bool MeterHasChannel() const override;
    bool UpdateFromMeter() override;
    QString FileNameKind() const override;

private:
    void BuildPHControls();
    void ShowPoints(short nNumCalPoints, const QStringList& strPHValues,
                    const QStringList& strVoltageValues_mV, const QStringList& strTempValues_C,
                    bool fShowTempF);
};
