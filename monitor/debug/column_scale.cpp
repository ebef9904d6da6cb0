#include "debug/column_scale.h"

#include <algorithm>
#include <cmath>

namespace monitor {

std::vector<double> ScaleColumns(const std::vector<double>& widths, int innerWidth) {
  double sum = 0;
  for (double width : widths) sum += width;
  if (innerWidth <= 0 || sum <= 0) return widths;
  std::vector<double> scaled;
  scaled.reserve(widths.size());
  for (double width : widths) scaled.push_back(width * innerWidth / sum);
  return scaled;
}

std::vector<int> ScaleWholeColumns(const std::vector<int>& widths, int gridWidth) {
  long long sum = 0;
  for (int width : widths) sum += width;
  if (gridWidth <= 0 || sum <= 0) return widths;
  const std::vector<double> exact =
      ScaleColumns(std::vector<double>(widths.begin(), widths.end()), gridWidth);
  std::vector<int> scaled;
  scaled.reserve(exact.size());
  for (double width : exact) scaled.push_back(std::max(1, static_cast<int>(std::lround(width))));
  return scaled;
}

}  // namespace monitor
