#pragma once

class BusyState;
class QGridLayout;
class frmProgEdit;

// Builds the program editor's controls, as the editor's members, and where they stand: the
// program and its buttons on the left, the calibration panel on the right.
class ProgEditLayout {
public:
    explicit ProgEditLayout(frmProgEdit& editor);

    void CreateControls();
    void LayOut(BusyState& busy);
    void SetTabOrder();

private:
    void CreateCalibrationControls();
    void CreateResultLines(QGridLayout* grid);

    frmProgEdit& m_editor;
};
