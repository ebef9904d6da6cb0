#include "lcddef/lcd_definition.h"

#include <algorithm>

namespace lcddef {
namespace {

bool Overlap(const SegmentRecord& a, const SegmentRecord& b) {
  return std::max(a.left(), b.left()) < std::min(a.right(), b.right()) &&
         std::max(a.top(), b.top()) < std::min(a.bottom(), b.bottom());
}

}  // namespace

void BuildOverlapMasks(std::vector<SegmentRecord>& segments) {
  for (size_t j = 0; j < segments.size(); ++j) {
    SegmentRecord& target = segments[j];
    std::fill(target.words.begin() + SegmentRecord::kMasks, target.words.end(), 0);
    for (size_t i = 0; i < segments.size(); ++i) {
      const SegmentRecord& other = segments[i];
      if (i == j || other[SegmentRecord::kAddress] >= kMaskAddresses || !Overlap(other, target))
        continue;
      target[SegmentRecord::kMasks + other[SegmentRecord::kAddress]] |= other[SegmentRecord::kBit];
    }
  }
}

void SortSegments(std::vector<SegmentRecord>& segments) {
  std::stable_sort(segments.begin(), segments.end(), [](const SegmentRecord& a, const SegmentRecord& b) {
    if (a[SegmentRecord::kAddress] != b[SegmentRecord::kAddress])
      return a[SegmentRecord::kAddress] < b[SegmentRecord::kAddress];
    return a[SegmentRecord::kBit] < b[SegmentRecord::kBit];
  });
}

}  // namespace lcddef
