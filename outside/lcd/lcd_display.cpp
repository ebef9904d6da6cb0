#include "lcd_display.h"

#include <QCoreApplication>

#include <platform/filenames.h>
#include <platform/read_file.h>

#include <lcddef/segment_image.h>

namespace {

bool ReadDefinition(const std::string& path, lcddef::Definition& out) {
  if (path.empty()) return false;
  const std::string found = platform::ResolvePathNoCase(path);
  std::string bytes;
  return !found.empty() && platform::ReadWholeFile(found, bytes) && lcddef::Read(bytes, out) == lcddef::ReadError::None;
}

}  // namespace

LcdDisplay::~LcdDisplay() {
  // At the program's end the host and Qt may be gone already.
  if (QCoreApplication::instance() != nullptr) delete glass_.data();
}

void LcdDisplay::open(QWidget* host, const std::string& projectPath, const std::string& definitionName,
                      const std::string& programFolder) {
  delete glass_.data();
  if (host == nullptr) return;
  lcddef::Definition definition;
  std::string path = projectPath;
  if (!ReadDefinition(path, definition)) {
    path = programFolder + definitionName;
    if (definitionName.empty() || !ReadDefinition(path, definition)) return;
  }
  const std::string folder = platform::FolderOf(platform::ResolvePathNoCase(path));
  std::vector<QImage> images;
  for (const std::string& name : definition.bitmaps)
    images.push_back(lcddef::LoadSegmentImage(platform::FindOrKeepPath(folder + name)).image);
  glass_ = new LcdGlass(host, std::move(definition), std::move(images));
}
