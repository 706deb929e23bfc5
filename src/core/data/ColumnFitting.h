#pragma once

#include <vector>

// The rows whose texts decide how wide a table's columns open, in order and each once:
// every row of a small table; of a large one the first and the last kFittingEnds rows
// (what the table shows first, and after a jump to its end) and kFittingSpread rows spread
// evenly between them. A bounded sample, so that a million records open as fast as a
// thousand; a longer text elsewhere is shown shortened until its column is widened.
constexpr int kFittingEnds = 100;
constexpr int kFittingSpread = 100;

std::vector<int> ColumnFittingRows(int rowCount);
