#pragma once

#include "programs/ProgramRecord.h"

#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// The fields of one program (frame "Programme"), as the editor edits them and the console
// shows them read-only.
class ProgramPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit ProgramPanel(QWidget* parent = nullptr);

    QLabel* lblProgNum = nullptr;
    QLineEdit* txtProgNum = nullptr;
    QLabel* lblModel = nullptr;
    QLineEdit* txtModel = nullptr;
    QLabel* lblCuvette = nullptr;
    QComboBox* cboCuvette = nullptr;
    QLabel* lblLambda = nullptr;
    QComboBox* cboLambda = nullptr;
    QLabel* lblMRB = nullptr;
    QLineEdit* txtMRB = nullptr;
    QLabel* lblMRE = nullptr;
    QLineEdit* txtMRE = nullptr;
    QLabel* lblE0 = nullptr;
    QLineEdit* txtE0 = nullptr;
    QLabel* lblSlope = nullptr;
    QLineEdit* txtSlope = nullptr;
    QLabel* lblResolution = nullptr;
    QComboBox* cboResolution = nullptr;
    QLabel* lblFormula = nullptr;
    QLineEdit* txtFormula = nullptr;
    QLabel* lblMeasUnit = nullptr;
    QLineEdit* txtMeasUnit = nullptr;
    QLabel* lblUserName = nullptr;
    QLineEdit* txtUserName = nullptr;
    QLabel* lblBlankRequired = nullptr;
    QCheckBox* chkBlankRequired = nullptr;
    QLabel* lblCalLinePossible = nullptr;
    QCheckBox* chkCalLinePossible = nullptr;
    QLabel* lblCalLineRequired = nullptr;
    QCheckBox* chkCalLineRequired = nullptr;

    // The design texts a new program starts from when nothing is selected.
    void ShowInitialTexts();
    // Fields of indexes 0 to 11 and the three flags ("1" checks a box).
    void ShowProgram(const ProgramRecord& strProgram);
    // Indexes 0 to 11 and the three flags from the controls.
    void CollectInto(ProgramRecord& strProgram) const;
    // The program's describing fields empty, lists at their defaults, flags off; the
    // number and the user stay.
    void ClearDescription();
    // Every text empty as well.
    void ClearProgram();
    // The console shows programs without letting them be changed.
    void SetReadOnly();

private:
    void CreateControls();
    void LayOut();
    void FillLists();
    void SetFilters();
    QList<QLineEdit*> DescriptionBoxes() const;
};
