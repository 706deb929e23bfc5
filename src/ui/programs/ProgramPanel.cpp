#include "ui/programs/ProgramPanel.h"

#include "ui/app/Controls.h"
#include "ui/programs/KeyFilter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

const QStringList kCuvettes{"13", "16", "28"};
const QStringList kLambdas{"436", "517", "557", "594", "610", "690"};
const QStringList kResolutions{"0.0001", "0.001", "0.01", "0.1", "1", "2", "5", "10", "100"};
const QString kDefaultCuvette = QStringLiteral("16");
const QString kDefaultLambda = QStringLiteral("436");
const QString kDefaultResolution = QStringLiteral("0.01");

constexpr int kModelLen = 5;
constexpr int kFormulaLen = 9;
constexpr int kMeasUnitLen = 7;

// A value from a stored program that the list does not offer is added, so that loading
// and saving keep what the meter or the file holds.
void SelectText(QComboBox* box, const QString& text) {
    int index = box->findText(text);
    if (index < 0) {
        box->addItem(text);
        index = box->count() - 1;
    }
    box->setCurrentIndex(index);
}

QString Flag(const QCheckBox* box) {
    return box->isChecked() ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

ProgramPanel::ProgramPanel(QWidget* parent) : QGroupBox(parent) {
    setObjectName(QStringLiteral("fraProgram"));
    setProperty("Tag", QStringLiteral("1075"));
    CreateControls();
    LayOut();
    FillLists();
    SetFilters();
    txtUserName->setEnabled(false);
}

void ProgramPanel::CreateControls() {
    lblProgNum = NewControl<QLabel>(this, "lblProgNum", "1076");
    txtProgNum = NewControl<QLineEdit>(this, "txtProgNum");
    txtProgNum->setToolTip(QStringLiteral("1200"));
    lblModel = NewControl<QLabel>(this, "lblModel", "1077");
    txtModel = NewControl<QLineEdit>(this, "txtModel");
    txtModel->setToolTip(QStringLiteral("1195"));
    lblCuvette = NewControl<QLabel>(this, "lblCuvette", "1078");
    cboCuvette = NewControl<QComboBox>(this, "cboCuvette");
    lblLambda = NewControl<QLabel>(this, "lblLambda", "1079");
    cboLambda = NewControl<QComboBox>(this, "cboLambda");
    lblFormula = NewControl<QLabel>(this, "lblFormula", "1085");
    txtFormula = NewControl<QLineEdit>(this, "txtFormula");
    txtFormula->setToolTip(QStringLiteral("1196"));
    lblMeasUnit = NewControl<QLabel>(this, "lblMeasUnit", "1086");
    txtMeasUnit = NewControl<QLineEdit>(this, "txtMeasUnit");
    txtMeasUnit->setToolTip(QStringLiteral("1197"));
    lblBlankRequired = NewControl<QLabel>(this, "lblBlankRequired", "1238");
    chkBlankRequired = NewControl<QCheckBox>(this, "chkBlankRequired");
    lblCalLinePossible = NewControl<QLabel>(this, "lblCalLinePossible", "1239");
    chkCalLinePossible = NewControl<QCheckBox>(this, "chkCalLinePossible");
    lblMRB = NewControl<QLabel>(this, "lblMRB", "1080");
    txtMRB = NewControl<QLineEdit>(this, "txtMRB");
    txtMRB->setToolTip(QStringLiteral("1198"));
    lblMRE = NewControl<QLabel>(this, "lblMRE", "1081");
    txtMRE = NewControl<QLineEdit>(this, "txtMRE");
    txtMRE->setToolTip(QStringLiteral("1199"));
    lblResolution = NewControl<QLabel>(this, "lblResolution", "1084");
    cboResolution = NewControl<QComboBox>(this, "cboResolution");
    lblE0 = NewControl<QLabel>(this, "lblE0", "1082");
    txtE0 = NewControl<QLineEdit>(this, "txtE0");
    txtE0->setToolTip(QStringLiteral("1132"));
    lblSlope = NewControl<QLabel>(this, "lblSlope", "1083");
    txtSlope = NewControl<QLineEdit>(this, "txtSlope");
    lblCalLineRequired = NewControl<QLabel>(this, "lblCalLineRequired", "1240");
    chkCalLineRequired = NewControl<QCheckBox>(this, "chkCalLineRequired");
    lblUserName = NewControl<QLabel>(this, "lblUserName", "1176");
    txtUserName = NewControl<QLineEdit>(this, "txtUserName");
}

// Two columns of label and field, in the order of the tab chain.
void ProgramPanel::LayOut() {
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    const QList<QPair<QLabel*, QWidget*>> left{{lblProgNum, txtProgNum},
                                               {lblModel, txtModel},
                                               {lblCuvette, cboCuvette},
                                               {lblLambda, cboLambda},
                                               {lblFormula, txtFormula},
                                               {lblMeasUnit, txtMeasUnit},
                                               {lblBlankRequired, chkBlankRequired},
                                               {lblCalLinePossible, chkCalLinePossible}};
    const QList<QPair<QLabel*, QWidget*>> right{{lblMRB, txtMRB},
                                                {lblMRE, txtMRE},
                                                {lblResolution, cboResolution},
                                                {lblE0, txtE0},
                                                {lblSlope, txtSlope},
                                                {lblCalLineRequired, chkCalLineRequired},
                                                {lblUserName, txtUserName}};
    for (int row = 0; row < left.size(); ++row) {
        grid->addWidget(left[row].first, row, 0);
        grid->addWidget(left[row].second, row, 1);
    }
    for (int row = 0; row < right.size(); ++row) {
        grid->addWidget(right[row].first, row, 3);
        grid->addWidget(right[row].second, row, 4);
    }
    grid->setColumnMinimumWidth(2, 12);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
}

void ProgramPanel::FillLists() {
    cboCuvette->addItems(kCuvettes);
    cboLambda->addItems(kLambdas);
    cboResolution->addItems(kResolutions);
    SelectText(cboCuvette, kDefaultCuvette);
    SelectText(cboLambda, kDefaultLambda);
    SelectText(cboResolution, kDefaultResolution);
}

void ProgramPanel::SetFilters() {
    txtModel->setMaxLength(kModelLen);
    txtFormula->setMaxLength(kFormulaLen);
    txtMeasUnit->setMaxLength(kMeasUnitLen);
    ReplaceTypedChars(txtModel, QStringLiteral(",;"), QStringLiteral(".."));
    for (QLineEdit* box : {txtMRB, txtMRE, txtE0, txtSlope}) {
        AcceptCommaAsPoint(box);
    }
    for (QLineEdit* box : {txtFormula, txtMeasUnit}) {
        ReplaceTypedChars(box, QStringLiteral(",; "), QStringLiteral(".._"));
    }
}

void ProgramPanel::ShowInitialTexts() {
    txtProgNum->setText(QStringLiteral("900"));
    txtModel->setText(QStringLiteral("test"));
    txtMRB->setText(QStringLiteral("0.0"));
    txtMRE->setText(QStringLiteral("2.0"));
    txtE0->setText(QStringLiteral("0.0"));
    txtSlope->setText(QStringLiteral("1.0"));
    txtFormula->setText(QStringLiteral("test"));
    txtMeasUnit->setText(QStringLiteral("mg/l"));
}

void ProgramPanel::ShowProgram(const ProgramRecord& strProgram) {
    using namespace ProgramField;
    txtProgNum->setText(strProgram[NO]);
    txtModel->setText(strProgram[MODEL]);
    SelectText(cboCuvette, strProgram[CUV]);
    SelectText(cboLambda, strProgram[LAMBDA]);
    txtMRB->setText(strProgram[MRB]);
    txtMRE->setText(strProgram[MRE]);
    txtE0->setText(strProgram[E0]);
    txtSlope->setText(strProgram[SLOPE]);
    SelectText(cboResolution, strProgram[RES]);
    txtFormula->setText(strProgram[FORM]);
    txtMeasUnit->setText(strProgram[UNIT]);
    txtUserName->setText(strProgram[USER]);
    chkBlankRequired->setChecked(strProgram[BLANKREQ] == QLatin1String("1"));
    chkCalLinePossible->setChecked(strProgram[CALPSB] == QLatin1String("1"));
    chkCalLineRequired->setChecked(strProgram[CALREQ] == QLatin1String("1"));
}

void ProgramPanel::CollectInto(ProgramRecord& strProgram) const {
    using namespace ProgramField;
    strProgram[NO] = txtProgNum->text();
    strProgram[MODEL] = txtModel->text();
    strProgram[CUV] = cboCuvette->currentText();
    strProgram[LAMBDA] = cboLambda->currentText();
    strProgram[MRB] = txtMRB->text();
    strProgram[MRE] = txtMRE->text();
    strProgram[E0] = txtE0->text();
    strProgram[SLOPE] = txtSlope->text();
    strProgram[RES] = cboResolution->currentText();
    strProgram[FORM] = txtFormula->text();
    strProgram[UNIT] = txtMeasUnit->text();
    strProgram[USER] = txtUserName->text();
    strProgram[BLANKREQ] = Flag(chkBlankRequired);
    strProgram[CALPSB] = Flag(chkCalLinePossible);
    strProgram[CALREQ] = Flag(chkCalLineRequired);
}

QList<QLineEdit*> ProgramPanel::DescriptionBoxes() const {
    return {txtModel, txtMRB, txtMRE, txtE0, txtSlope, txtFormula, txtMeasUnit};
}

void ProgramPanel::ClearDescription() {
    for (QLineEdit* box : DescriptionBoxes()) {
        box->clear();
    }
    SelectText(cboCuvette, kDefaultCuvette);
    SelectText(cboLambda, kDefaultLambda);
    SelectText(cboResolution, kDefaultResolution);
    for (QCheckBox* box : {chkBlankRequired, chkCalLinePossible, chkCalLineRequired}) {
        box->setChecked(false);
    }
}

void ProgramPanel::ClearProgram() {
    ClearDescription();
    txtProgNum->clear();
    txtUserName->clear();
}

void ProgramPanel::SetReadOnly() {
    for (QLineEdit* box : findChildren<QLineEdit*>()) {
        box->setReadOnly(true);
    }
    // Lists and boxes keep their normal look but take neither clicks nor keys.
    for (QWidget* control :
         {static_cast<QWidget*>(cboCuvette), static_cast<QWidget*>(cboLambda),
          static_cast<QWidget*>(cboResolution), static_cast<QWidget*>(chkBlankRequired),
          static_cast<QWidget*>(chkCalLinePossible), static_cast<QWidget*>(chkCalLineRequired)}) {
        control->setAttribute(Qt::WA_TransparentForMouseEvents);
        control->setFocusPolicy(Qt::NoFocus);
    }
}
