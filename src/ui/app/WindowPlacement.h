#pragma once

#include <QRect>
#include <optional>

class QWidget;

// Where the main window was when the program last ended, in twips, kept in the per-user
// settings store (organisation and application "Mervex", group "Settings").
struct Placement {
    int left = 1000;
    int top = 1000;
    int width = 6500;
    int height = 6500;
};

// Nothing when no key is stored (the program's first start for this user).
std::optional<Placement> LoadPlacement();
void StorePlacement(const Placement& placement);

// Twips <-> the window's pixels at the screen's logical resolution.
Placement PlacementOf(const QWidget& window);
void ApplyPlacement(QWidget& window, const Placement& placement);
// The window at the stored placement, brought onto a screen when no screen shows it; the
// first-start size and place without one.
void PlaceAtStart(QWidget& window, const std::optional<Placement>& stored);
