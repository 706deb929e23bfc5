#pragma once

class QMdiArea;

// Arranges the child windows side by side: in rows one above the other (horizontal
// division) or in columns next to each other (vertical division).
void TileSubWindows(QMdiArea* area, bool horizontal);
