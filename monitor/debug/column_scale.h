#pragma once
// The proportional column rule of the debug views' grids.
#include <vector>

namespace monitor {

// Each width keeps its share of the sum when the sum becomes `innerWidth`;
// nothing changes when the inner width or the sum is not positive. Widths are
// exact (unrounded) values, so repeated resizes keep the proportions.
std::vector<double> ScaleColumns(const std::vector<double>& widths, int innerWidth);

// The same in whole twips, rounded, none below 1 twip.
std::vector<int> ScaleWholeColumns(const std::vector<int>& widths, int gridWidth);

}  // namespace monitor
