#pragma once

#include <QList>
#include <QString>

class CCalibration;
class CMath;
class Ui;
class frmProgEdit;

// The working of the program editor's calibration panel: the pairs read from the editor's
// boxes, the calibration line computed, its results and plot shown, and its zero point and
// slope handed to the program's fields.
class ProgEditCalibration {
public:
    ProgEditCalibration(Ui& ui, CCalibration& calibration, CMath& math, frmProgEdit& editor);

    bool Valid() const { return m_calValid; }
    void Reset();
    void Calculate(bool withMessages);
    // Asks for the file, then writes the plot's picture ("png", "svg").
    void SavePlot(const QString& extension);
    // The line's zero point and slope into the program's fields, when there is a line.
    void Transfer();

private:
    void ShowResults(const double (&results)[8], short n);
    bool Plot();

    Ui& m_ui;
    CCalibration& m_calibration;
    CMath& m_math;
    frmProgEdit& m_editor;
    bool m_calValid = false;
    short m_n = 0;
    QList<double> m_x;
    QList<double> m_y;
    double m_a0 = 0.0;
    double m_a1 = 0.0;
    QString m_plotUnit;
};
