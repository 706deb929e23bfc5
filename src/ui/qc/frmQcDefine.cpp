#include "ui/qc/frmQcDefine.h"

#include "app/TextTables.h"
#include "app/Ui.h"
#include "archive/ArchiveDatabase.h"
#include "archive/QcStore.h"
#include "data/FieldNumber.h"
#include "meter/CLogin.h"
#include "qc/QcBaseline.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/Controls.h"
#include "ui/app/DateFields.h"
#include "ui/app/HelpContext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <cmath>
#include <memory>

namespace {

constexpr std::array<int, 5> kRunLengths = {7, 8, 9, 10, 12};
constexpr std::array<const char*, QcRules::kRuleCount> kRuleNames = {"chk12s", "chk13s", "chk22s",
                                                                     "chkR4s", "chk41s", "chkNx"};
// A baseline is proposed over the last three months.
constexpr int kBaselineMonths = 3;

QLabel* Label(QWidget* parent, const char* name, const char* tag, QWidget* buddy = nullptr) {
    auto* label = NewControl<QLabel>(parent, name, tag);
    label->setBuddy(buddy);
    return label;
}

// A number typed with "." or the decimal comma; nothing for anything else.
std::optional<double> TypedNumber(QString text) {
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    const std::optional<double> value = FieldNumber(text, false);
    return value && std::isfinite(*value) ? value : std::nullopt;
}

QString Number(double value) {
    return QString::number(value, 'g', 10);
}

} // namespace

frmQcDefine::frmQcDefine(ArchiveServices services, const QcControl* control, QWidget* parent)
    : QDialog(parent), m_services(services), m_work(services, *this) {
    setObjectName(QStringLiteral("frmQcDefine"));
    SetHelpContext(this, HelpContext::kArchive);
    BuildDialog();
    LayOut();
    ApplyCaptions(this);
    setWindowTitle(control ? LoadResString(1604).arg(control->name) : LoadResString(1603));
    if (control != nullptr) {
        Propose(*control);
    }
    FollowValueSource();
}

frmQcDefine::~frmQcDefine() = default;

void frmQcDefine::BuildDialog() {
    txtName = NewControl<QLineEdit>(this, "txtName");
    txtProgram = NewControl<QLineEdit>(this, "txtProgram");
    txtProgram->setValidator(new QIntValidator(0, 999999, txtProgram));
    txtCitation = NewControl<QLineEdit>(this, "txtCitation");
    optIdEquals = NewControl<QRadioButton>(this, "optIdEquals", "1606");
    optIdPrefix = NewControl<QRadioButton>(this, "optIdPrefix", "1607");
    optIdEquals->setChecked(true);
    txtMatch = NewControl<QLineEdit>(this, "txtMatch");
    optTyped = NewControl<QRadioButton>(this, "optTyped", "1608");
    optTyped->setChecked(true);
    txtTarget = NewControl<QLineEdit>(this, "txtTarget");
    txtSD = NewControl<QLineEdit>(this, "txtSD");
    optEstimate = NewControl<QRadioButton>(this, "optEstimate", "1609");
    const QDate today = QDate::currentDate();
    dtpFrom = NewControl<QDateEdit>(this, "dtpFrom");
    dtpFrom->setDate(today.addMonths(-kBaselineMonths));
    dtpTo = NewControl<QDateEdit>(this, "dtpTo");
    dtpTo->setDate(today);
    cmdEstimate = NewControl<QPushButton>(this, "cmdEstimate", "1627");
    cmdEstimate->setAutoDefault(false);
    lblEstimate = NewControl<QLabel>(this, "lblEstimate");
    lblEstimate->setWordWrap(true);
    txtUnit = NewControl<QLineEdit>(this, "txtUnit");
    chkValidFrom = NewControl<QCheckBox>(this, "chkValidFrom", "1748");
    dtpValidFrom = NewControl<QDateEdit>(this, "dtpValidFrom");
    dtpValidFrom->setDate(today);
    dtpValidFrom->setEnabled(false);
    for (QDateEdit* date : {dtpFrom, dtpTo, dtpValidFrom}) {
        date->setCalendarPopup(true);
        UseProgramDateForm(*date);
    }
    const QcRules all;
    for (int i = 0; i < QcRules::kRuleCount; ++i) {
        chkRules << NewControl<QCheckBox>(this, kRuleNames[size_t(i)]);
        chkRules.last()->setChecked(true);
    }
    cboRunLength = NewControl<QComboBox>(this, "cboRunLength");
    for (const int n : kRunLengths) {
        cboRunLength->addItem(QStringLiteral("%1x").arg(n), n);
    }
    cboRunLength->setCurrentIndex(cboRunLength->findData(all.runLength));
    for (int i = 0; i + 1 < QcRules::kRuleCount; ++i) {
        chkRules[i]->setText(all.Codes(unsigned(QcRules::RuleAt(i))).value(0));
    }
    cmdOK = NewControl<QPushButton>(this, "cmdOK", "1026");
    cmdOK->setDefault(true);
    cmdCancel = NewControl<QPushButton>(this, "cmdCancel", "1069");
    cmdCancel->setAutoDefault(false);

    for (const auto& pair :
         {std::pair{optIdEquals, optIdPrefix}, std::pair{optTyped, optEstimate}}) {
        auto* group = new QButtonGroup(this);
        group->addButton(pair.first);
        group->addButton(pair.second);
    }
    connect(optTyped, &QRadioButton::toggled, this, &frmQcDefine::FollowValueSource);
    connect(chkValidFrom, &QCheckBox::toggled, dtpValidFrom, &QWidget::setEnabled);
    connect(chkRules.last(), &QCheckBox::toggled, cboRunLength, &QWidget::setEnabled);
    connect(cboRunLength, &QComboBox::currentTextChanged, chkRules.last(),
            &QWidget::setAccessibleName);
    chkRules.last()->setAccessibleName(cboRunLength->currentText());
    connect(cmdEstimate, &QPushButton::clicked, this, &frmQcDefine::Estimate);
    connect(cmdOK, &QPushButton::clicked, this, &frmQcDefine::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &frmQcDefine::reject);
    // An estimate holds for the records and the period it was made from.
    for (QLineEdit* field : {txtProgram, txtCitation, txtMatch}) {
        connect(field, &QLineEdit::textEdited, this, &frmQcDefine::ForgetEstimate);
    }
    connect(optIdPrefix, &QRadioButton::toggled, this, &frmQcDefine::ForgetEstimate);
    for (QDateEdit* date : {dtpFrom, dtpTo}) {
        connect(date, &QDateEdit::dateChanged, this, &frmQcDefine::ForgetEstimate);
    }
}

void frmQcDefine::LayOut() {
    auto* grid = new QGridLayout(this);
    const auto row = [grid](int r, const QList<QWidget*>& widgets) {
        for (int c = 0; c < widgets.size(); ++c) {
            if (widgets[c] != nullptr) {
                grid->addWidget(widgets[c], r, c);
            }
        }
    };
    row(0, {Label(this, "lblName", "1708"), txtName});
    row(1, {Label(this, "lblProgram", "1663"), txtProgram, Label(this, "lblCitation", "1605"),
            txtCitation});
    row(2, {optIdEquals, optIdPrefix});
    grid->addWidget(txtMatch, 2, 2, 1, 2);
    row(3, {optTyped, nullptr});
    row(4, {Label(this, "lblTarget", "1749"), txtTarget, Label(this, "lblSD", "1750"), txtSD});
    row(5, {optEstimate});
    row(6, {Label(this, "lblFrom", "1660", dtpFrom), dtpFrom, Label(this, "lblTo", "1661", dtpTo),
            dtpTo, cmdEstimate});
    grid->addWidget(lblEstimate, 7, 0, 1, 5);
    row(8, {Label(this, "lblUnit", "1709"), txtUnit, chkValidFrom, dtpValidFrom});
    auto* rules = new QHBoxLayout;
    for (QCheckBox* rule : chkRules) {
        rules->addWidget(rule);
    }
    rules->addWidget(cboRunLength);
    rules->addStretch();
    grid->addWidget(Label(this, "lblRules", "1752"), 9, 0);
    grid->addLayout(rules, 9, 1, 1, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 10, 0, 1, 5);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);

    QList<QWidget*> order = {txtName,     txtProgram,  txtCitation,  optIdEquals,
                             optIdPrefix, txtMatch,    optTyped,     txtTarget,
                             txtSD,       optEstimate, dtpFrom,      dtpTo,
                             cmdEstimate, txtUnit,     chkValidFrom, dtpValidFrom};
    order << QList<QWidget*>(chkRules.begin(), chkRules.end());
    order << cboRunLength << cmdOK << cmdCancel;
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

void frmQcDefine::Propose(const QcControl& control) {
    txtName->setText(control.name);
    txtName->setReadOnly(true);
    txtName->setFocusPolicy(Qt::NoFocus);
    txtProgram->setText(control.program ? QString::number(*control.program) : QString());
    txtCitation->setText(control.citation);
    (control.match == QcControl::Match::Prefix ? optIdPrefix : optIdEquals)->setChecked(true);
    txtMatch->setText(control.matchText);
    if (control.versions.isEmpty()) {
        return;
    }
    const QcVersion& latest = control.versions.last();
    txtTarget->setText(Number(latest.target));
    txtSD->setText(Number(latest.sd));
    txtUnit->setText(latest.unit);
    for (int i = 0; i < QcRules::kRuleCount; ++i) {
        chkRules[i]->setChecked(latest.rules.Has(QcRules::RuleAt(i)));
    }
    cboRunLength->setCurrentIndex(std::max(0, cboRunLength->findData(latest.rules.runLength)));
}

void frmQcDefine::FollowValueSource() {
    const bool typed = optTyped->isChecked();
    txtTarget->setReadOnly(!typed);
    txtSD->setReadOnly(!typed);
    for (QWidget* field : QList<QWidget*>{dtpFrom, dtpTo, cmdEstimate}) {
        field->setEnabled(!typed);
    }
    if (typed) {
        ForgetEstimate();
    }
}

void frmQcDefine::ForgetEstimate() {
    if (!m_estimate) {
        return;
    }
    m_estimate.reset();
    lblEstimate->clear();
    if (optEstimate->isChecked()) {
        txtTarget->clear();
        txtSD->clear();
    }
}

std::optional<QcControl> frmQcDefine::Recognition() const {
    QcControl control;
    control.name = txtName->text().trimmed();
    if (!txtProgram->text().trimmed().isEmpty()) {
        control.program = txtProgram->text().trimmed().toLongLong();
    }
    control.citation = txtCitation->text().trimmed();
    control.match = optIdPrefix->isChecked() ? QcControl::Match::Prefix : QcControl::Match::Equals;
    control.matchText = txtMatch->text();
    if (control.name.isEmpty() || control.matchText.trimmed().isEmpty()) {
        return std::nullopt;
    }
    return control;
}

QcRules frmQcDefine::Rules() const {
    QcRules rules;
    rules.mask = 0;
    for (int i = 0; i < QcRules::kRuleCount; ++i) {
        if (chkRules[i]->isChecked()) {
            rules.mask |= unsigned(QcRules::RuleAt(i));
        }
    }
    rules.runLength = cboRunLength->currentData().toInt();
    return rules;
}

std::optional<QcVersion> frmQcDefine::Version() const {
    QcVersion version;
    if (optEstimate->isChecked()) {
        if (!m_estimate) {
            return std::nullopt;
        }
        version.target = m_estimate->mean;
        version.sd = m_estimate->sd;
    } else {
        const std::optional<double> target = TypedNumber(txtTarget->text());
        const std::optional<double> sd = TypedNumber(txtSD->text());
        if (!target || !sd || *sd <= 0.0) {
            return std::nullopt;
        }
        version.target = *target;
        version.sd = *sd;
    }
    version.unit = txtUnit->text().trimmed();
    // Unticked, the store dates it as the command line does: from the earliest point.
    version.validFrom = chkValidFrom->isChecked() ? dtpValidFrom->date() : QDate();
    version.rules = Rules();
    return version;
}

bool frmQcDefine::RunWork(const ArchiveJob::Work& work) {
    return m_work.Run(work, [](qint64) { return LoadResString(1745); });
}

bool frmQcDefine::Estimate() {
    ForgetEstimate();
    const std::optional<QcControl> control = Recognition();
    if (!control) {
        m_services.ui.Message(LoadResString(1628), LoadResString(1745), MsgIcon::Warning);
        return false;
    }
    const auto records = std::make_shared<QList<QcRecord>>();
    if (!RunWork([control = *control, records](ArchiveDatabase& db, const ArchiveJob::Going&) {
            return QcStore(db).Records(control, *records);
        })) {
        return false;
    }
    const QcBaseline baseline = QcBaseline::Of(*control, *records, dtpFrom->date(), dtpTo->date());
    lblEstimate->setText(baseline.Text());
    if (!baseline.Accepted()) {
        m_services.ui.Message(baseline.Text(), LoadResString(1745), MsgIcon::Warning);
        return false;
    }
    m_estimate = baseline.estimate;
    txtTarget->setText(Number(baseline.estimate.mean));
    txtSD->setText(Number(baseline.estimate.sd));
    return true;
}

void frmQcDefine::accept() {
    if (m_work.Running()) {
        return;
    }
    if (optEstimate->isChecked() && !m_estimate && Recognition()) {
        // The values are shown before they are taken: a second OK takes them.
        Estimate();
        return;
    }
    const std::optional<QcControl> control = Recognition();
    const std::optional<QcVersion> version = Version();
    if (!control || !version) {
        m_services.ui.Message(LoadResString(1628), LoadResString(1745), MsgIcon::Warning);
        return;
    }
    if (!RunWork([control = *control, version = *version, user = m_services.login.UserName()](
                     ArchiveDatabase& db, const ArchiveJob::Going&) {
            return QcStore(db, user).Define(control, version);
        })) {
        return;
    }
    m_defined = control->name;
    QDialog::accept();
}

void frmQcDefine::reject() {
    if (!m_work.Running()) {
        QDialog::reject();
    }
}

void frmQcDefine::closeEvent(QCloseEvent* event) {
    if (!m_work.DeferClose(event)) {
        QDialog::closeEvent(event);
    }
}
