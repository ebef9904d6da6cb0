#include "lcddef/segment_image.h"

#include <fstream>
#include <iterator>

namespace lcddef {

SegmentImage LoadSegmentImage(const std::string& path) {
  SegmentImage out;
  std::ifstream in(path, std::ios::binary);
  if (!in) return out;
  const std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  switch (CheckBmp(file)) {
    case BmpCheck::Unsupported:
      out.status = SegmentImage::Unsupported;
      return out;
    case BmpCheck::Corrupt:
      out.status = SegmentImage::Corrupt;
      return out;
    case BmpCheck::Ok:
      break;
  }
  QImage image;
  if (!image.loadFromData(reinterpret_cast<const uchar*>(file.data()), static_cast<int>(file.size()), "BMP")) {
    out.status = SegmentImage::Unsupported;
    return out;
  }
  out.status = SegmentImage::Ok;
  out.image = image.convertToFormat(QImage::Format_RGB32);
  return out;
}

}  // namespace lcddef
