// The controls of the program editor and where they stand.

#include "ui/programs/ProgEditLayout.h"

#include "ui/app/BusyContent.h"
#include "ui/app/Controls.h"
#include "ui/programs/CalibrationPlotView.h"
#include "ui/programs/ProgramPanel.h"
#include "ui/programs/frmProgEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct ResultLine {
    const char* symbol;
    const char* symbolTag;
    const char* value;
    const char* text;
    const char* textTag;
};

const ResultLine kResultLines[] = {
    {"lblA0", "1123", "lblA0Value", "lblA0Txt", "1132"},
    {"lblA1", "1124", "lblA1Value", "lblA1Txt", "1133"},
    {"lblYQ", "1125", "lblYQValue", "lblQTxt(0)", "1504"},
    {"lblXQ", "1126", "lblXQValue", "lblQTxt(1)", "1505"},
    {"lblN", "1127", "lblNValue", "lblNTxt", "1135"},
    {"lblSX0", "1128", "lblSX0Value", "lblSX0Txt", "1136"},
    {"lblVX0", "1129", "lblVX0Value", "lblVX0Txt", "1137"},
    {"lblXN", "1130", "lblXNValue", "lblXNTxt", "1138"},
    {"lblXB", "1131", "lblXBValue", "lblXBTxt", "1139"},
};

} // namespace

ProgEditLayout::ProgEditLayout(frmProgEdit& editor) : m_editor(editor) {}

void ProgEditLayout::CreateControls() {
    frmProgEdit& e = m_editor;
    e.imgHeader = NewControl<QLabel>(&e, "imgHeader");
    e.imgLogo = NewControl<QLabel>(&e, "imgLogo");
    e.fraProgram = new ProgramPanel(&e);
    e.cmdClear = NewControl<QPushButton>(&e, "cmdClear", "1155");
    e.cmdCancel = NewControl<QPushButton>(&e, "cmdCancel", "1069");
    e.cmdSaveDevice = NewControl<QPushButton>(&e, "cmdSaveDevice", "1104");
    e.cmdSaveFile = NewControl<QPushButton>(&e, "cmdSaveFile", "1111");
    e.cmdExtended = NewControl<QPushButton>(&e, "cmdExtended", "1117");
    CreateCalibrationControls();
}

void ProgEditLayout::CreateCalibrationControls() {
    frmProgEdit& e = m_editor;
    e.pnlCalibration = NewControl<QWidget>(&e, "pnlCalibration");
    e.linDivider = NewControl<QFrame>(&e, "linDivider");
    e.linDivider->setFrameShape(QFrame::VLine);
    e.linDivider->setFrameShadow(QFrame::Sunken);
    e.fraPairsOfVariates = NewControl<QGroupBox>(e.pnlCalibration, "fraPairsOfVariates", "1119");
    e.lblX = NewControl<QLabel>(e.fraPairsOfVariates, "lblX");
    e.lblY = NewControl<QLabel>(e.fraPairsOfVariates, "lblY", "1142");
    for (int i = 0; i < kNumPairs; ++i) {
        e.txtValX << new QLineEdit(e.fraPairsOfVariates);
        e.txtValY << new QLineEdit(e.fraPairsOfVariates);
        e.txtValX.back()->setObjectName(QStringLiteral("txtValX(%1)").arg(i));
        e.txtValY.back()->setObjectName(QStringLiteral("txtValY(%1)").arg(i));
    }
    e.fraCalLine = NewControl<QGroupBox>(e.pnlCalibration, "fraCalLine", "1120");
    e.lblXAxis = NewControl<QLabel>(e.fraCalLine, "lblXAxis");
    e.lblYAxis = NewControl<QLabel>(e.fraCalLine, "lblYAxis", "1142");
    e.picCalLine = new CalibrationPlotView(e.fraCalLine);
    e.fraCalResults = NewControl<QGroupBox>(e.pnlCalibration, "fraCalResults", "1122");
    e.cmdCalCalculate = NewControl<QPushButton>(e.pnlCalibration, "cmdCalCalculate", "1121");
    e.cmdTransfer = NewControl<QPushButton>(e.pnlCalibration, "cmdTransfer", "1141");
}

void ProgEditLayout::CreateResultLines(QGridLayout* grid) {
    frmProgEdit& e = m_editor;
    int row = 0;
    for (const ResultLine& line : kResultLines) {
        auto* value = NewControl<QLabel>(e.fraCalResults, line.value);
        value->setMinimumWidth(
            e.fontMetrics().horizontalAdvance(QStringLiteral("-0.000E-00  1/(mg/l)")));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(NewControl<QLabel>(e.fraCalResults, line.symbol, line.symbolTag), row, 0);
        grid->addWidget(value, row, 1);
        grid->addWidget(NewControl<QLabel>(e.fraCalResults, line.text, line.textTag), row, 2);
        e.resultValues << value;
        ++row;
    }
    grid->setColumnStretch(2, 1);
}

void ProgEditLayout::LayOut(BusyState& busy) {
    frmProgEdit& e = m_editor;
    auto* pairs = new QGridLayout(e.fraPairsOfVariates);
    pairs->addWidget(e.lblX, 0, 0, Qt::AlignHCenter);
    pairs->addWidget(e.lblY, 0, 1, Qt::AlignHCenter);
    for (int i = 0; i < kNumPairs; ++i) {
        pairs->addWidget(e.txtValX[i], i + 1, 0);
        pairs->addWidget(e.txtValY[i], i + 1, 1);
    }
    auto* plot = new QGridLayout(e.fraCalLine);
    plot->addWidget(e.lblYAxis, 0, 0);
    plot->addWidget(e.picCalLine, 1, 0);
    plot->addWidget(e.lblXAxis, 2, 0, Qt::AlignRight);
    plot->setRowStretch(1, 1);
    CreateResultLines(new QGridLayout(e.fraCalResults));

    auto* calButtons = new QHBoxLayout;
    calButtons->addWidget(e.cmdCalCalculate);
    calButtons->addWidget(e.cmdTransfer);
    auto* calibration = new QGridLayout(e.pnlCalibration);
    calibration->setContentsMargins(0, 0, 0, 0);
    calibration->addWidget(e.fraPairsOfVariates, 0, 0);
    calibration->addLayout(calButtons, 1, 0);
    calibration->addWidget(e.fraCalLine, 0, 1);
    calibration->addWidget(e.fraCalResults, 1, 1, 2, 1);
    calibration->setColumnStretch(1, 1);
    calibration->setRowStretch(2, 1);

    auto* header = new QHBoxLayout;
    header->addWidget(e.imgHeader);
    header->addStretch();
    header->addWidget(e.imgLogo);
    auto* buttons = new QGridLayout;
    buttons->addWidget(e.cmdSaveDevice, 0, 0);
    buttons->addWidget(e.cmdSaveFile, 0, 1);
    buttons->addWidget(e.cmdExtended, 0, 2);
    buttons->addWidget(e.cmdClear, 1, 0);
    buttons->addWidget(e.cmdCancel, 1, 2);
    auto* program = new QVBoxLayout;
    program->addLayout(header);
    program->addWidget(e.fraProgram);
    program->addStretch();
    program->addLayout(buttons);

    auto* root = new QHBoxLayout(NewBusyContent(e, busy));
    root->addLayout(program);
    root->addWidget(e.linDivider);
    root->addWidget(e.pnlCalibration, 1);
}

// The fields first, so that the window opens in the first one; the buttons last.
void ProgEditLayout::SetTabOrder() {
    const frmProgEdit& e = m_editor;
    const ProgramPanel& p = *e.fraProgram;
    QList<QWidget*> chain;
    chain << p.txtProgNum << p.txtModel << p.cboCuvette << p.cboLambda << p.txtFormula
          << p.txtMeasUnit << p.chkBlankRequired << p.chkCalLinePossible << p.txtMRB << p.txtMRE
          << p.cboResolution << p.txtE0 << p.txtSlope << p.chkCalLineRequired;
    for (int i = 0; i < kNumPairs; ++i) {
        chain << e.txtValX[i] << e.txtValY[i];
    }
    chain << e.cmdCalCalculate << e.cmdTransfer << e.cmdSaveDevice << e.cmdSaveFile << e.cmdExtended
          << e.cmdClear << e.cmdCancel;
    for (int i = 1; i < chain.size(); ++i) {
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    }
}
