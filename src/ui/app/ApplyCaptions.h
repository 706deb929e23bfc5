#pragma once

#include <Qt>

class QWidget;

// Windows are built with string numbers in place of texts; this replaces each number by
// its text from the active string table. Where the number lives:
//   the window, a label, any other control:  dynamic property "Tag" (and toolTip)
//   a menu or tool bar action:               its text / its toolTip and whatsThis
//   a tab of a QTabWidget:                   tabBar()->tabData(i) and tabToolTip(i)
//   a status bar panel:                      its toolTip
//   a header item of a tree or table widget: data(kTagRole)
// Never reports an error: whatever cannot be converted stays as designed.
void ApplyCaptions(QWidget* window);

constexpr int kTagRole = Qt::UserRole + 1000;
