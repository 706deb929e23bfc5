#pragma once

#include <QList>
#include <QRect>
#include <optional>

// Where the main window opens, in pixels, from the screens' available areas (the primary
// screen first) and the placement stored when the program last ended, if any.
//
// A first start opens at 70 % of the primary screen, at least 1000 x 700 px where the screen
// is that large, centred: big enough for the whole menu bar, the tool bar and readable status
// panels. A stored placement is used as it is unless no screen shows a usable part of it
// (a screen that has gone, a changed resolution); it then moves onto the nearest screen,
// shrunk to that screen where it is larger.
namespace WindowGeometry {

inline constexpr double kFirstStartShare = 0.7;
inline constexpr int kFirstStartMinWidth = 1000;
inline constexpr int kFirstStartMinHeight = 700;
// The part of the window a screen must show for the user to reach and move it.
inline constexpr int kVisibleWidth = 100;
inline constexpr int kVisibleHeight = 50;

QRect FirstStart(const QRect& screen);
bool Reachable(const QList<QRect>& screens, const QRect& window);
QRect BroughtOnScreen(const QList<QRect>& screens, const QRect& window);
QRect AtStart(const QList<QRect>& screens, const std::optional<QRect>& stored);

} // namespace WindowGeometry
