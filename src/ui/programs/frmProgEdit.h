#pragma once

#include "programs/ProgramRecord.h"
#include "ui/programs/ProgEditCalibration.h"
#include "ui/programs/ProgramSave.h"
#include "ui/programs/ProgramServices.h"

#include <QDialog>
#include <QList>

class CalibrationPlotView;
class ProgramPanel;
class ProgramSelection;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The program editor: one new program or one change, saved in the meter or as a file,
// with the calibration panel that computes a calibration line from up to ten pairs.
class frmProgEdit : public QDialog {
    Q_OBJECT
public:
    frmProgEdit(ProgramServices services, ProgramSelection& selection, QWidget* parent = nullptr);

    bool Extended() const { return m_extended; }
    bool CalibrationValid() const { return m_calibration.Valid(); }

    QLabel* imgHeader = nullptr;
    QLabel* imgLogo = nullptr;
    ProgramPanel* fraProgram = nullptr;
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdSaveDevice = nullptr;
    QPushButton* cmdSaveFile = nullptr;
    QPushButton* cmdExtended = nullptr;

    // The calibration panel.
    QWidget* pnlCalibration = nullptr;
    QFrame* linDivider = nullptr;
    QGroupBox* fraPairsOfVariates = nullptr;
    QLabel* lblX = nullptr;
    QLabel* lblY = nullptr;
    QList<QLineEdit*> txtValX;
    QList<QLineEdit*> txtValY;
    QGroupBox* fraCalLine = nullptr;
    QLabel* lblXAxis = nullptr;
    QLabel* lblYAxis = nullptr;
    CalibrationPlotView* picCalLine = nullptr;
    QGroupBox* fraCalResults = nullptr;
    // Value labels of the nine results, in the order A0, A1, YQ, XQ, N, SX0, VX0, XN, XB.
    QList<QLabel*> resultValues;
    QPushButton* cmdCalCalculate = nullptr;
    QPushButton* cmdTransfer = nullptr;

    void cmdSaveDevice_Click();
    void cmdSaveFile_Click();
    void cmdClear_Click();
    void cmdExtended_Click();
    void cmdCalCalculate_Click();
    void cmdTransfer_Click();
    // The plot's context menu: asks for the file, then writes the picture ("png", "svg").
    void SavePlot(const QString& extension);

    // Escape, the close box and "Annuler": with unsaved changes, asks first.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Source { Meter, File };

    void SetCompact();
    // Accessible names of the pairs' fields, which have no label of their own.
    void NamePairFields();
    void SetExtendedLayout();
    void FitDesignedSize(int widthTwips, int heightTwips);

    // Opening and loading.
    void Form_Load();
    void ShowSelection();
    bool LoadProgram(Source source, const QString& key, bool withPairs);

    // Field checks on leaving a field.
    void txtProgNum_LostFocus();
    void txtVal_LostFocus(QLineEdit* box);

    // The fields show what the meter list now holds for the number; the pairs stay.
    void ReloadFromMeter();

    ProgramServices m_services;
    ProgramSelection& m_selection;
    bool m_extended = false;
    ProgEditCalibration m_calibration;
    ProgramSave m_save;
};
