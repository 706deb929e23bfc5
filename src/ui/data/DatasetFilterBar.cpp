#include "ui/data/DatasetFilterBar.h"

#include "app/TextTables.h"
#include "ui/app/ApplyCaptions.h"
#include "ui/app/Controls.h"
#include "ui/app/DateFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int kAllPrograms = 1720;
constexpr int kStateTexts[] = {1720, 1724, 1725, 1751}; // in the order of RecordFilter::State
constexpr int kFindWidth = 160;

} // namespace

DatasetFilterBar::DatasetFilterBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("fraFilter"));
    lblProgram = NewControl<QLabel>(this, "lblProgram", "1719");
    cboProgram = NewControl<QComboBox>(this, "cboProgram");
    cboProgram->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    lblProgram->setBuddy(cboProgram);
    chkFrom = NewControl<QCheckBox>(this, "chkFrom", "1721");
    dtpFrom = NewControl<QDateEdit>(this, "dtpFrom");
    chkTo = NewControl<QCheckBox>(this, "chkTo", "1722");
    dtpTo = NewControl<QDateEdit>(this, "dtpTo");
    for (QDateEdit* date : {dtpFrom, dtpTo}) {
        date->setCalendarPopup(true);
        UseProgramDateForm(*date);
        date->setEnabled(false);
    }
    lblState = NewControl<QLabel>(this, "lblState", "1723");
    cboState = NewControl<QComboBox>(this, "cboState");
    for (const int text : kStateTexts) {
        cboState->addItem(LoadResString(text));
    }
    lblState->setBuddy(cboState);
    lblFind = NewControl<QLabel>(this, "lblFind", "1726");
    txtFind = NewControl<QLineEdit>(this, "txtFind");
    txtFind->setClearButtonEnabled(true);
    txtFind->setMinimumWidth(kFindWidth);
    lblFind->setBuddy(txtFind);
    cmdHideFilter = NewControl<QToolButton>(this, "cmdHideFilter");
    cmdHideFilter->setText(QStringLiteral("\u00d7"));
    cmdHideFilter->setToolTip(LoadResString(1727));
    cmdHideFilter->setAutoRaise(true);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(2, 2, 2, 2);
    for (QWidget* w :
         std::initializer_list<QWidget*>{lblProgram, cboProgram, chkFrom, dtpFrom, chkTo, dtpTo,
                                         lblState, cboState, lblFind, txtFind}) {
        row->addWidget(w);
    }
    row->addStretch(1);
    row->addWidget(cmdHideFilter);
    // The bar carries its own captions, so that every window it is placed in shows them.
    ApplyCaptions(this);

    m_typing = new QTimer(this);
    m_typing->setSingleShot(true);
    m_typing->setInterval(kTypingPauseMs);
    connect(m_typing, &QTimer::timeout, this, &DatasetFilterBar::Changed);
    connect(txtFind, &QLineEdit::textChanged, m_typing, qOverload<>(&QTimer::start));
    // Enter filters at once instead of waiting for the pause.
    connect(txtFind, &QLineEdit::returnPressed, this, &DatasetFilterBar::Changed);
    connect(cboProgram, &QComboBox::currentIndexChanged, this, &DatasetFilterBar::Changed);
    connect(cboState, &QComboBox::currentIndexChanged, this, &DatasetFilterBar::Changed);
    for (auto [check, date] : {std::pair{chkFrom, dtpFrom}, std::pair{chkTo, dtpTo}}) {
        connect(check, &QCheckBox::toggled, date, &QWidget::setEnabled);
        connect(check, &QCheckBox::toggled, this, &DatasetFilterBar::Changed);
        connect(date, &QDateEdit::dateChanged, this, &DatasetFilterBar::Changed);
    }
    connect(cmdHideFilter, &QToolButton::clicked, this, &DatasetFilterBar::Close);
}

// The fields leave Escape to their parent (a combo box closes its open list first).
void DatasetFilterBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void DatasetFilterBar::SetDataset(const QList<RecordGroup>& groups, const QDate& first,
                                  const QDate& last) {
    {
        const QSignalBlocker blockProgram(cboProgram);
        const QSignalBlocker blockFrom(dtpFrom);
        const QSignalBlocker blockTo(dtpTo);
        cboProgram->clear();
        cboProgram->addItem(LoadResString(kAllPrograms), QString());
        for (const RecordGroup& g : groups) {
            cboProgram->addItem(g.name.isEmpty() ? g.key : g.key + QLatin1Char(' ') + g.name,
                                g.key);
        }
        dtpFrom->setDate(first.isValid() ? first : QDate::currentDate());
        dtpTo->setDate(last.isValid() ? last : QDate::currentDate());
    }
    Clear();
}

RecordFilter DatasetFilterBar::Filter() const {
    RecordFilter filter;
    filter.group = cboProgram->currentData().toString();
    if (chkFrom->isChecked()) {
        filter.from = dtpFrom->date();
    }
    if (chkTo->isChecked()) {
        filter.to = dtpTo->date();
    }
    filter.state = static_cast<RecordFilter::State>(std::max(cboState->currentIndex(), 0));
    filter.text = txtFind->text();
    return filter;
}

void DatasetFilterBar::Open() {
    show();
    txtFind->setFocus();
    txtFind->selectAll();
}

void DatasetFilterBar::Close() {
    Clear();
    hide();
    emit Closed();
}

void DatasetFilterBar::Clear() {
    {
        const QSignalBlocker blocks[] = {QSignalBlocker(cboProgram), QSignalBlocker(chkFrom),
                                         QSignalBlocker(chkTo), QSignalBlocker(cboState),
                                         QSignalBlocker(txtFind)};
        cboProgram->setCurrentIndex(0);
        chkFrom->setChecked(false);
        chkTo->setChecked(false);
        dtpFrom->setEnabled(false);
        dtpTo->setEnabled(false);
        cboState->setCurrentIndex(0);
        txtFind->clear();
    }
    m_typing->stop();
    Changed();
}

void DatasetFilterBar::Changed() {
    m_typing->stop();
    emit FilterChanged(Filter());
}
