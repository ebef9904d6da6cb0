#include "lcddef/segment_image.h"

#include <exception>

#include <platform/read_file.h>

namespace lcddef {

SegmentImage LoadSegmentImage(const std::string& path) {
  SegmentImage out;
  // The name comes from a document: a folder, a pipe or a device is not a
  // bitmap, and nothing is read without end or waited for.
  std::string file;
  if (!platform::ReadWholeFile(path, file, nullptr, kBitmapFileLimit)) return out;
  try {
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
    out.image = image.convertToFormat(QImage::Format_RGB32);
    out.status = out.image.isNull() ? SegmentImage::Unsupported : SegmentImage::Ok;
  } catch (const std::exception&) {
    // An allocation the image could not get leaves the slot empty.
    out = SegmentImage{SegmentImage::Unsupported, QImage()};
  }
  return out;
}

}  // namespace lcddef
