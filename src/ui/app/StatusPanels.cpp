#include "ui/app/StatusPanels.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
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
    for (int i = 0; i < kCount; ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(kMinimumWidth);
        bar->addWidget(label, Stretch(label));
        m_panels << label;
        m_stretch << Stretch(label);
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
    QLabel* label = Panel(panel);
    if (!label || label->text() == text) {
        return;
    }
    label->setText(text);
    const int stretch = Stretch(label);
    if (stretch != m_stretch[panel - 1]) {
        // The bar has no way to change a stretch factor but to put the panel in again.
        auto* bar = static_cast<QStatusBar*>(parent());
        bar->removeWidget(label);
        bar->insertWidget(panel - 1, label, stretch);
        label->show();
        m_stretch[panel - 1] = stretch;
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
