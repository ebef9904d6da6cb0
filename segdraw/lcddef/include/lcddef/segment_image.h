#pragma once
// A segment bitmap file loaded for drawing, after the checks of bmp_check.h.
#include <QImage>
#include <string>

#include "lcddef/bmp_check.h"

namespace lcddef {

struct SegmentImage {
  enum Status { Ok, Missing, Unsupported, Corrupt } status = Missing;
  QImage image;  // RGB32; null unless Ok
};

SegmentImage LoadSegmentImage(const std::string& path);

}  // namespace lcddef
