#include "ui/data/DocumentLayout.h"

DocumentLayout LayOutDocument(int innerWidth, int innerHeight) {
    DocumentLayout l;
    l.headWidth = innerWidth;
    l.logoVisible = innerWidth > 3500;
    l.logoLeft = innerWidth - 3250;
    l.headerWidth = innerWidth - 200;
    l.gridVisible = innerWidth > 200 && innerHeight > 2300;
    l.gridWidth = innerWidth - 200;
    l.gridHeight = innerHeight - 2300;
    return l;
}
