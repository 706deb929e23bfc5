#include "ui/app/StatusPanels.h"

#include "app/DateText.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QStatusBar>
#include <algorithm>

namespace {

constexpr int kMinimumWidth = 60;

// A panel's share of the bar is its text's width: as long as the window is wide enough for
// all texts, none is cut (fixed shares cut a long port name while the clock had room over).
int Stretch(const QLabel* label) {
    return std::max(kMinimumWidth, label->sizeHint().width());
}

} // namespace

StatusPanels::StatusPanels(QStatusBar* bar) : QObject(bar) {
    // The panels sit in a row of their own, whose stretch factors can follow the texts.
    auto* row = new QWidget(bar);
    row->setObjectName(QStringLiteral("Panels"));
    m_row = new QHBoxLayout(row);
    m_row->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < kCount; ++i) {
        auto* label = new QLabel(row);
        label->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(kMinimumWidth);
        m_row->addWidget(label, Stretch(label));
        m_panels << label;
    }
    bar->addWidget(row, 1);
    bar->setSizeGripEnabled(true);
    connect(&m_clock, &QTimer::timeout, this, &StatusPanels::UpdateClock);
    m_clock.start(1000);
    UpdateClock();
}

QLabel* StatusPanels::Panel(int panel) const {
    return m_panels.value(panel - 1, nullptr);
}

void StatusPanels::SetText(int panel, const QString& text) {
    if (QLabel* label = Panel(panel)) {
        label->setText(text);
        m_row->setStretch(panel - 1, Stretch(label));
    }
}

QString StatusPanels::Text(int panel) const {
    const QLabel* label = Panel(panel);
    return label ? label->text() : QString();
}

void StatusPanels::SetToolTip(int panel, const QString& tip) {
    if (QLabel* label = Panel(panel)) {
        label->setToolTip(tip);
    }
}

void StatusPanels::UpdateClock() {
    const QDateTime now = QDateTime::currentDateTime();
    SetText(6, ShortDateText(now.date()));
    SetText(7, LongTimeText(now.time()));
}
