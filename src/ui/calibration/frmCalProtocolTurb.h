#pragma once

#include "ui/calibration/CalProtocolWindow.h"

#include <array>
#include <functional>

class frmCalProtEdit;

// The last turbidity calibration protocol with the standards used and their lot data,
// which the user edits here. Opened modally from the main window.
class frmCalProtocolTurb : public CalProtocolWindow {
    Q_OBJECT
public:
    static constexpr int kStandards = 5;
    using LotEditor = std::function<frmCalProtEdit&()>;

    // `lotEditor` gives the program's one lot editor, made anew when it was closed. With a
    // `path`, the window shows that protocol file instead of fetching the meter's.
    frmCalProtocolTurb(WindowHost& main, ProtocolServices services, LotEditor lotEditor,
                       const QString& path = QString());

    QGroupBox* frmCharge = nullptr;
    QLabel* lblLOTTotal = nullptr;
    QLabel* lblExpiry = nullptr;
    QLabel* lblManufacturer = nullptr;
    QLabel* lblLOTTotalValue = nullptr;
    QLabel* lblExpiryValue = nullptr;
    QLabel* lblManufacturerValue = nullptr;
    QLabel* lblUsedStds = nullptr;
    QLabel* lblStdComment = nullptr;
    QLabel* lblStdStatus = nullptr;
    // Low, mid, high, 4th and 5th standard: nominal value, lot comment, status.
    // (objects lblStdLow, lblStdLowValue, lblStdLowStatus ... lblStd5Status).
    std::array<QLabel*, kStandards> standardLabels{};
    std::array<QLabel*, kStandards> commentLabels{};
    std::array<QLabel*, kStandards> statusLabels{};
    QPushButton* cmdEditLOT = nullptr;

protected:
    void ClearDisplay() override;
    bool ShowProtocol() override;
    void UpdateButtons() override;
    bool MeterHasChannel() const override;
    bool UpdateFromMeter() override;
    QString FileNameKind() const override;

private:
    void BuildTurbidityControls();
    void ShowStandards(short nNumCalPoints, const QStringList& strCalStds_FNUNTU);
    void cmdEditLOT_Click();
    void FillLotEditor(frmCalProtEdit& editor, short nNumCalPoints,
                       const QStringList& strCalStds_FNUNTU) const;
    void TakeLotFromEditor(const frmCalProtEdit& editor);

    LotEditor m_lotEditor;
};
