#include "data/ColumnFitting.h"

#include <QtGlobal>
#include <algorithm>
#include <numeric>

std::vector<int> ColumnFittingRows(int rowCount) {
    std::vector<int> rows;
    if (rowCount <= 2 * kFittingEnds + kFittingSpread) {
        rows.resize(size_t(std::max(rowCount, 0)));
        std::iota(rows.begin(), rows.end(), 0);
        return rows;
    }
    rows.reserve(2 * kFittingEnds + kFittingSpread);
    for (int row = 0; row < kFittingEnds; ++row) {
        rows.push_back(row);
    }
    // The middle holds more rows than the spread, so the steps are at least one row long.
    const qint64 middle = rowCount - 2 * kFittingEnds;
    for (int k = 0; k < kFittingSpread; ++k) {
        rows.push_back(kFittingEnds + int(middle * k / kFittingSpread));
    }
    for (int row = rowCount - kFittingEnds; row < rowCount; ++row) {
        rows.push_back(row);
    }
    return rows;
}
