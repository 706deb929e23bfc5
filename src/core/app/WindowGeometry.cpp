#include "app/WindowGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace WindowGeometry {

namespace {

// Squared distance from a point to a rectangle (0 inside it).
qint64 DistanceSquared(const QRect& rect, const QPoint& point) {
    const qint64 dx = point.x() < rect.left()    ? rect.left() - point.x()
                      : point.x() > rect.right() ? point.x() - rect.right()
                                                 : 0;
    const qint64 dy = point.y() < rect.top()      ? rect.top() - point.y()
                      : point.y() > rect.bottom() ? point.y() - rect.bottom()
                                                  : 0;
    return dx * dx + dy * dy;
}

} // namespace

QRect FirstStart(const QRect& screen) {
    const int width = std::max(static_cast<int>(std::lround(screen.width() * kFirstStartShare)),
                               std::min(kFirstStartMinWidth, screen.width()));
    const int height = std::max(static_cast<int>(std::lround(screen.height() * kFirstStartShare)),
                                std::min(kFirstStartMinHeight, screen.height()));
    return {screen.left() + (screen.width() - width) / 2,
            screen.top() + (screen.height() - height) / 2, width, height};
}

bool Reachable(const QList<QRect>& screens, const QRect& window) {
    const int needWidth = std::min(kVisibleWidth, window.width());
    const int needHeight = std::min(kVisibleHeight, window.height());
    return std::any_of(screens.begin(), screens.end(), [&](const QRect& screen) {
        const QRect shown = screen.intersected(window);
        return !shown.isEmpty() && shown.width() >= needWidth && shown.height() >= needHeight;
    });
}

QRect BroughtOnScreen(const QList<QRect>& screens, const QRect& window) {
    if (screens.isEmpty()) {
        return window;
    }
    const QRect* nearest = &screens.front();
    qint64 best = std::numeric_limits<qint64>::max();
    for (const QRect& screen : screens) {
        const qint64 distance = DistanceSquared(screen, window.center());
        if (distance < best) {
            best = distance;
            nearest = &screen;
        }
    }
    const QRect& screen = *nearest;
    QRect moved(window.topLeft(), window.size().boundedTo(screen.size()));
    moved.moveLeft(std::clamp(moved.left(), screen.left(), screen.right() - moved.width() + 1));
    moved.moveTop(std::clamp(moved.top(), screen.top(), screen.bottom() - moved.height() + 1));
    return moved;
}

QRect AtStart(const QList<QRect>& screens, const std::optional<QRect>& stored) {
    if (!stored) {
        return screens.isEmpty() ? QRect() : FirstStart(screens.front());
    }
    return Reachable(screens, *stored) ? *stored : BroughtOnScreen(screens, *stored);
}

} // namespace WindowGeometry
