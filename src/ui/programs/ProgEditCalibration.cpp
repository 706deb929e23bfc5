// The calibration panel of the program editor: pairs, calculation, results, plot, transfer.

#include "ui/programs/ProgEditCalibration.h"

#include "app/ErrorTrap.h"
#include "app/NumberText.h"
#include "app/TextTables.h"
#include "app/Ui.h"
#include "calibration/CCalibration.h"
#include "calibration/CalibrationPlot.h"
#include "calibration/CalibrationText.h"
#include "ui/app/PlotPainting.h"
#include "ui/programs/CalibrationPlotView.h"
#include "ui/programs/ProgramPanel.h"
#include "ui/programs/frmProgEdit.h"

#include <QLabel>
#include <QLineEdit>

namespace {

constexpr short kMinPairs = 3;
const QString kUnit = QStringLiteral("mg/l");

QString WithUnit(const QString& value, const QString& unit) {
    return value + QStringLiteral("  ") + unit;
}

// "0.000E+00" (four significant digits) read back, in the plain decimal form.
QString FourSignificantDigits(double value) {
    return CanonicalNumberText(FormatScientific(value).toDouble());
}

} // namespace

ProgEditCalibration::ProgEditCalibration(Ui& ui, CCalibration& calibration, CMath& math,
                                         frmProgEdit& editor)
    : m_ui(ui), m_calibration(calibration), m_math(math), m_editor(editor) {}

void ProgEditCalibration::Reset() {
    m_calValid = false;
    m_n = 0;
    m_x = QList<double>(kNumPairs, 0.0);
    m_y = QList<double>(kNumPairs, 0.0);
    m_a0 = 0.0;
    m_a1 = 0.0;
    m_plotUnit.clear();
    for (QLabel* value : m_editor.resultValues) {
        value->clear();
    }
    m_editor.picCalLine->Clear();
}

void ProgEditCalibration::Calculate(bool withMessages) {
    Reset();
    QList<double> x(kNumPairs, 0.0);
    QList<double> y(kNumPairs, 0.0);
    short n = 0;
    // The first row with an empty box ends the pairs.
    while (n < kNumPairs && !m_editor.txtValX[n]->text().isEmpty() &&
           !m_editor.txtValY[n]->text().isEmpty()) {
        x[n] = LeadingNumber(m_editor.txtValX[n]->text());
        y[n] = LeadingNumber(m_editor.txtValY[n]->text());
        ++n;
    }
    Ui& ui = m_ui;
    if (n < kMinPairs) {
        if (withMessages) {
            ui.Message(LoadResString(1143), LoadResString(1115), MsgIcon::Warning);
        }
        return;
    }
    double r[8] = {};
    if (!m_calibration.Calculate(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], x, y, n)) {
        if (withMessages) {
            ui.Message(LoadResString(1144), LoadResString(1033), MsgIcon::Critical);
        }
        return;
    }
    ShowResults(r, n);
    m_calValid = true;
    m_n = n;
    m_x = x;
    m_y = y;
    m_a0 = r[0];
    m_a1 = r[1];
    m_plotUnit = kUnit;
    if (!Plot() && withMessages) {
        ui.Message(LoadResString(1145), LoadResString(1033), MsgIcon::Critical);
    }
}

// r holds A0, A1, YM, XM, SX0, VX0, XN, XB as Calculate gives them.
void ProgEditCalibration::ShowResults(const double (&r)[8], short n) {
    const QStringList texts{FormatScientific(r[0]),
                            FormatScientific(r[1]) + QStringLiteral("  1/(") + kUnit +
                                QLatin1Char(')'),
                            FormatScientific(r[2]),
                            WithUnit(FormatScientific(r[3]), kUnit),
                            QString::number(n),
                            WithUnit(FormatScientific(r[4]), kUnit),
                            WithUnit(FormatOneDecimal(r[5]), QStringLiteral("%")),
                            WithUnit(FormatScientific(r[6]), kUnit),
                            WithUnit(FormatScientific(r[7]), kUnit)};
    for (int i = 0; i < texts.size(); ++i) {
        m_editor.resultValues[i]->setText(texts[i]);
    }
}

bool ProgEditCalibration::Plot() {
    CalibrationPlot plot;
    if (!MakeCalibrationPlot(m_math, m_x, m_y, m_n, m_a0, m_a1, plot)) {
        return false;
    }
    m_editor.picCalLine->SetPlot(plot);
    return true;
}

void ProgEditCalibration::SavePlot(const QString& extension) {
    TrappedVoid(m_ui, [&] {
        const std::optional<QString> path = AskPlotFile(m_ui, extension);
        if (path && !m_editor.picCalLine->SaveImage(*path)) {
            ThrowPlotNotSaved(*path);
        }
    });
}

void ProgEditCalibration::Transfer() {
    if (!m_calValid) {
        return;
    }
    m_editor.fraProgram->txtE0->setText(FourSignificantDigits(m_a0));
    m_editor.fraProgram->txtSlope->setText(FourSignificantDigits(m_a1));
}
