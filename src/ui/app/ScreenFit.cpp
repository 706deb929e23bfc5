#include "ui/app/ScreenFit.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace {

QRect AvailableArea(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen != nullptr ? screen->availableGeometry() : QRect();
}

// What the window manager adds around the window: known once shown, else a title bar.
QSize FrameExtra(const QWidget& window) {
    if (window.isVisible()) {
        return window.frameGeometry().size() - window.size();
    }
    return {0, window.style()->pixelMetric(QStyle::PM_TitleBarHeight)};
}

} // namespace

void FitOnScreen(QWidget& window, QSize wanted) {
    const QRect area = AvailableArea(window);
    window.setMinimumSize(0, 0);
    window.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    if (area.isEmpty()) {
        window.resize(wanted.expandedTo(window.sizeHint()));
        return;
    }
    const QSize room = area.size() - FrameExtra(window);
    window.setMinimumSize(window.minimumSizeHint().boundedTo(room));
    window.resize(wanted.expandedTo(window.sizeHint()).boundedTo(room));
    if (!window.isVisible()) {
        return; // the dialog places itself on the screen when shown
    }
    const QRect frame = window.frameGeometry();
    const int left = std::clamp(frame.left(), area.left(),
                                std::max(area.left(), area.right() + 1 - frame.width()));
    const int top = std::clamp(frame.top(), area.top(),
                               std::max(area.top(), area.bottom() + 1 - frame.height()));
    window.move(left, top);
}
