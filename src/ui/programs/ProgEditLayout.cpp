// The controls of the program editor and where they stand.

#include "app/Services.h"
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

void frmProgEdit::CreateControls() {
    imgHeader = NewControl<QLabel>(this, "imgHeader");
    imgLogo = NewControl<QLabel>(this, "imgLogo");
    fraProgram = new ProgramPanel(this);
    cmdClear = NewControl<QPushButton>(this, "cmdClear", "1155");
    cmdCancel = NewControl<QPushButton>(this, "cmdCancel", "1069");
    cmdSaveDevice = NewControl<QPushButton>(this, "cmdSaveDevice", "1104");
    cmdSaveFile = NewControl<QPushButton>(this, "cmdSaveFile", "1111");
    cmdExtended = NewControl<QPushButton>(this, "cmdExtended", "1117");
    CreateCalibrationControls();
}

void frmProgEdit::CreateCalibrationControls() {
    pnlCalibration = NewControl<QWidget>(this, "pnlCalibration");
    linDivider = NewControl<QFrame>(this, "linDivider");
    linDivider->setFrameShape(QFrame::VLine);
    linDivider->setFrameShadow(QFrame::Sunken);
    fraPairsOfVariates = NewControl<QGroupBox>(pnlCalibration, "fraPairsOfVariates", "1119");
    lblX = NewControl<QLabel>(fraPairsOfVariates, "lblX");
    lblY = NewControl<QLabel>(fraPairsOfVariates, "lblY", "1142");
    for (int i = 0; i < kNumPairs; ++i) {
        txtValX << new QLineEdit(fraPairsOfVariates);
        txtValY << new QLineEdit(fraPairsOfVariates);
        txtValX.back()->setObjectName(QStringLiteral("txtValX(%1)").arg(i));
        txtValY.back()->setObjectName(QStringLiteral("txtValY(%1)").arg(i));
    }
    fraCalLine = NewControl<QGroupBox>(pnlCalibration, "fraCalLine", "1120");
    lblXAxis = NewControl<QLabel>(fraCalLine, "lblXAxis");
    lblYAxis = NewControl<QLabel>(fraCalLine, "lblYAxis", "1142");
    picCalLine = new CalibrationPlotView(fraCalLine);
    fraCalResults = NewControl<QGroupBox>(pnlCalibration, "fraCalResults", "1122");
    cmdCalCalculate = NewControl<QPushButton>(pnlCalibration, "cmdCalCalculate", "1121");
    cmdTransfer = NewControl<QPushButton>(pnlCalibration, "cmdTransfer", "1141");
}

void frmProgEdit::CreateResultLines(QGridLayout* grid) {
    int row = 0;
    for (const ResultLine& line : kResultLines) {
        auto* value = NewControl<QLabel>(fraCalResults, line.value);
        value->setMinimumWidth(
            fontMetrics().horizontalAdvance(QStringLiteral("-0.000E-00  1/(mg/l)")));
        value->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(NewControl<QLabel>(fraCalResults, line.symbol, line.symbolTag), row, 0);
        grid->addWidget(value, row, 1);
        grid->addWidget(NewControl<QLabel>(fraCalResults, line.text, line.textTag), row, 2);
        resultValues << value;
        ++row;
    }
    grid->setColumnStretch(2, 1);
}

void frmProgEdit::LayOut() {
    auto* pairs = new QGridLayout(fraPairsOfVariates);
    pairs->addWidget(lblX, 0, 0, Qt::AlignHCenter);
    pairs->addWidget(lblY, 0, 1, Qt::AlignHCenter);
    for (int i = 0; i < kNumPairs; ++i) {
        pairs->addWidget(txtValX[i], i + 1, 0);
        pairs->addWidget(txtValY[i], i + 1, 1);
    }
    auto* plot = new QGridLayout(fraCalLine);
    plot->addWidget(lblYAxis, 0, 0);
    plot->addWidget(picCalLine, 1, 0);
    plot->addWidget(lblXAxis, 2, 0, Qt::AlignRight);
    plot->setRowStretch(1, 1);
    CreateResultLines(new QGridLayout(fraCalResults));

    auto* calButtons = new QHBoxLayout;
    calButtons->addWidget(cmdCalCalculate);
    calButtons->addWidget(cmdTransfer);
    auto* calibration = new QGridLayout(pnlCalibration);
    calibration->setContentsMargins(0, 0, 0, 0);
    calibration->addWidget(fraPairsOfVariates, 0, 0);
    calibration->addLayout(calButtons, 1, 0);
    calibration->addWidget(fraCalLine, 0, 1);
    calibration->addWidget(fraCalResults, 1, 1, 2, 1);
    calibration->setColumnStretch(1, 1);
    calibration->setRowStretch(2, 1);

    auto* header = new QHBoxLayout;
    header->addWidget(imgHeader);
    header->addStretch();
    header->addWidget(imgLogo);
    auto* buttons = new QGridLayout;
    buttons->addWidget(cmdSaveDevice, 0, 0);
    buttons->addWidget(cmdSaveFile, 0, 1);
    buttons->addWidget(cmdExtended, 0, 2);
    buttons->addWidget(cmdClear, 1, 0);
    buttons->addWidget(cmdCancel, 1, 2);
    auto* program = new QVBoxLayout;
    program->addLayout(header);
    program->addWidget(fraProgram);
    program->addStretch();
    program->addLayout(buttons);

    auto* root = new QHBoxLayout(NewBusyContent(*this, m_services.busy));
    root->addLayout(program);
    root->addWidget(linDivider);
    root->addWidget(pnlCalibration, 1);
}

// The fields first, so that the window opens in the first one; the buttons last.
void frmProgEdit::SetTabOrder() {
    const ProgramPanel& p = *fraProgram;
    QList<QWidget*> chain;
    chain << p.txtProgNum << p.txtModel << p.cboCuvette << p.cboLambda << p.txtFormula
          << p.txtMeasUnit << p.chkBlankRequired << p.chkCalLinePossible << p.txtMRB << p.txtMRE
          << p.cboResolution << p.txtE0 << p.txtSlope << p.chkCalLineRequired;
    for (int i = 0; i < kNumPairs; ++i) {
        chain << txtValX[i] << txtValY[i];
    }
    chain << cmdCalCalculate << cmdTransfer << cmdSaveDevice << cmdSaveFile << cmdExtended
          << cmdClear << cmdCancel;
    for (int i = 1; i < chain.size(); ++i) {
        setTabOrder(chain[i - 1], chain[i]);
    }
}
