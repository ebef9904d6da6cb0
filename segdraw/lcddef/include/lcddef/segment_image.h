#pragma once
// A segment bitmap file loaded for drawing, after the checks of bmp_check.h.
#include <QImage>
#include <string>

#include "lcddef/bmp_check.h"

namespace lcddef {

// The largest bitmap file read for a segment.
inline constexpr size_t kBitmapFileLimit = size_t{16} << 20;

struct SegmentImage {
  enum Status { Ok, Missing, Unsupported, Corrupt } status = Missing;
  QImage image;  // RGB32; null unless Ok
};

// Missing: the path is not a regular file of at most kBitmapFileLimit bytes
// that can be read (also a folder, a pipe or a device). Never throws.
SegmentImage LoadSegmentImage(const std::string& path);

}  // namespace lcddef
