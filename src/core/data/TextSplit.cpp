#include "data/TextSplit.h"

QList<QStringView> SplitAtMost(QStringView text, QStringView separator, int maxPieces) {
    QList<QStringView> pieces;
    qsizetype start = 0;
    while (pieces.size() + 1 < maxPieces) {
        const qsizetype at = text.indexOf(separator, start);
        if (at < 0) {
            break;
        }
        pieces << text.mid(start, at - start);
        start = at + separator.size();
    }
    pieces << text.mid(start);
    return pieces;
}
