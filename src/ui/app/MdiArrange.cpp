#include "ui/app/MdiArrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>

void TileSubWindows(QMdiArea* area, bool horizontal) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder)) {
        if (sub->isVisible() && !sub->isMinimized()) {
            windows << sub;
        }
    }
    if (windows.isEmpty()) {
        return;
    }
    const QRect room = area->viewport()->rect();
    const int n = static_cast<int>(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* sub = windows[i];
        sub->showNormal();
        if (horizontal) {
            const int h = room.height() / n;
            sub->setGeometry(0, i * h, room.width(), h);
        } else {
            const int w = room.width() / n;
            sub->setGeometry(i * w, 0, w, room.height());
        }
    }
}
