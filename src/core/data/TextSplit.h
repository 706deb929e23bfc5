#pragma once

#include <QList>
#include <QStringView>

// Splits text at a separator into at most maxPieces pieces; the last piece keeps the rest
// of the text, separators included. Empty text gives one empty piece.
QList<QStringView> SplitAtMost(QStringView text, QStringView separator, int maxPieces);
