#include "ui/data/DocumentLayout.h"

#include <algorithm>

namespace {

// The design's header, for the program's own 8-point font.
constexpr int kHeaderTop = 950;
constexpr int kHeaderHeight = 1150;
constexpr int kLineHeight = 260;
constexpr int kFirstLineTop = 300;
constexpr int kLeftNames = 150;
constexpr int kNameWidth = 1550;
constexpr int kValueWidth = 2700;
constexpr int kRightNames = 4600;
constexpr int kRightNameWidth = 800;
constexpr int kRightValueWidth = 1500;
constexpr int kNameGap = 50;    // between a name and its value
constexpr int kColumnGap = 150; // between the left values and the right names
constexpr int kBottomGap = 70;  // below the last line, inside the frame
constexpr int kGridGap = 100;   // between the frame and the grid

} // namespace

DocumentLayout LayOutDocument(int innerWidth, int innerHeight, int gridTop) {
    DocumentLayout l;
    l.headWidth = innerWidth;
    l.logoVisible = innerWidth > 3500;
    l.logoLeft = innerWidth - 3250;
    l.headerWidth = innerWidth - 200;
    l.gridTop = gridTop;
    l.gridVisible = innerWidth > 200 && innerHeight > gridTop + 100;
    l.gridWidth = innerWidth - 200;
    l.gridHeight = innerHeight - gridTop - 100;
    return l;
}

HeaderPlaces LayOutHeader(const HeaderNeeds& needs) {
    HeaderPlaces h;
    h.lineHeight = std::max(kLineHeight, needs.lineHeight);
    const int leftNames = std::max(kNameWidth, needs.leftNames);
    const int leftValues = std::max(kValueWidth, needs.leftValues);
    const int leftValueLeft = kLeftNames + leftNames + kNameGap;
    const int rightNameLeft = std::max(kRightNames, leftValueLeft + leftValues + kColumnGap);
    const int rightNames = std::max(kRightNameWidth, needs.rightNames);
    const int rightValues = std::max(kRightValueWidth, needs.rightValues);
    const int rightValueLeft = rightNameLeft + rightNames + kNameGap;
    for (int i = 0; i < 5; ++i) {
        const bool left = i < 3;
        const int row = left ? i : i - 3;
        h.lines[i] = left ? HeaderLine{kLeftNames, leftNames, leftValueLeft, leftValues, 0}
                          : HeaderLine{rightNameLeft, rightNames, rightValueLeft, rightValues, 0};
        h.lines[i].top = kFirstLineTop + row * h.lineHeight;
    }
    h.frameHeight = std::max(kHeaderHeight, h.lines[2].top + h.lineHeight + kBottomGap);
    h.gridTop = kHeaderTop + h.frameHeight + kGridGap;
    return h;
}
