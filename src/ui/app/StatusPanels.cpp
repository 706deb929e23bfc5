#include "ui/app/StatusPanels.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QStatusBar>

namespace {

// Stretch factors: the user and meter panels get the most room, the clock the least.
constexpr int kStretch[StatusPanels::kCount] = {2, 2, 3, 2, 3, 2, 1};

} // namespace

StatusPanels::StatusPanels(QStatusBar* bar) : QObject(bar) {
    for (int i = 0; i < kCount; ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(60);
        bar->addWidget(label, kStretch[i]);
        m_panels << label;
    }
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
    const QLocale locale;
    SetText(6, locale.toString(now.date(), QLocale::ShortFormat));
    SetText(7, locale.toString(now.time(), QStringLiteral("HH:mm:ss")));
}
