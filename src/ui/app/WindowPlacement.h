#pragma once

#include <QRect>

class QWidget;

// Where the main window was when the program last ended, in twips, kept in the per-user
// settings store (organisation and application "Mervex", group "Settings").
struct Placement {
    int left = 1000;
    int top = 1000;
    int width = 6500;
    int height = 6500;
};

Placement LoadPlacement();
void StorePlacement(const Placement& placement);

// Twips <-> the window's pixels at the screen's logical resolution.
Placement PlacementOf(const QWidget& window);
void ApplyPlacement(QWidget& window, const Placement& placement);
