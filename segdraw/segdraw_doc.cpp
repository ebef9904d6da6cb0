#include "segdraw_doc.h"

#include <unistd.h>

#include <platform/atomic_write.h>
#include <platform/filenames.h>
#include <platform/messagebox.h>
#include <platform/read_file.h>

#include <lcddef/segment_image.h>

#include "segdraw_messages.h"

namespace {

// Both separators end a folder.
std::string::size_type LastSeparator(const std::string& path) { return path.find_last_of("/\\"); }

std::string BaseNameOf(const std::string& path) {
  const auto slash = LastSeparator(path);
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (const auto dot = name.rfind('.'); dot != std::string::npos) name.resize(dot);
  return name;
}

}  // namespace

void CSegdrawDoc::clear() {
  def_ = lcddef::Definition();
  images_.clear();
  folder_.clear();
  base_.clear();
}

bool CSegdrawDoc::OnNewDocument() {
  clear();
  return Document::OnNewDocument();
}

bool CSegdrawDoc::OnOpenDocument(const std::string& given) {
  clear();
  // The current folder changes below: a relative name is taken from here first.
  char here[4096];
  const std::string path =
      given.empty() || given[0] == '/' || getcwd(here, sizeof here) == nullptr ? given : std::string(here) + "/" + given;
  base_ = BaseNameOf(path);
  if (const auto slash = LastSeparator(path); slash != std::string::npos) {
    folder_ = path.substr(0, slash);
    // Later relative names (the report) land in the document's folder.
    const bool moved = !folder_.empty() && ::chdir(folder_.c_str()) == 0;
    (void)moved;  // a folder that cannot be entered leaves the current one
  }
  std::string bytes;
  if (!platform::ReadWholeFile(platform::FindOrKeepPath(path), bytes)) {
    platform::MessageBox(segdraw::kCannotRead + path, "Segdraw", platform::MB_ICONEXCLAMATION);
    return false;
  }
  if (lcddef::Read(bytes, def_) != lcddef::ReadError::None) {
    platform::MessageBox(segdraw::kBadDefinition, "", platform::MB_OK);
    return false;
  }
  images_.resize(def_.bitmaps.size());
  for (size_t slot = 0; slot < images_.size(); ++slot) loadBitmap(slot);
  return true;
}

bool CSegdrawDoc::OnSaveDocument(const std::string& path) {
  lcddef::BuildOverlapMasks(def_.segments);
  std::string bytes;
  if (lcddef::Write(def_, bytes) != lcddef::WriteError::None) {
    platform::MessageBox(segdraw::kCannotWriteAllocation, "Segdraw", platform::MB_ICONEXCLAMATION);
    return false;
  }
  if (!platform::WriteFileAtomically(platform::FindOrKeepPath(path), bytes)) {
    platform::MessageBox(segdraw::kCannotWrite + path, "Segdraw", platform::MB_ICONEXCLAMATION);
    return false;
  }
  base_ = BaseNameOf(path);
  return true;
}

void CSegdrawDoc::loadBitmap(size_t slot) {
  const std::string& name = def_.bitmaps[slot];
  const std::string path = folder_.empty() ? name : folder_ + "/" + name;
  lcddef::SegmentImage loaded = lcddef::LoadSegmentImage(platform::FindOrKeepPath(path));
  if (loaded.status == lcddef::SegmentImage::Missing)
    platform::MessageBox("Can't open file '" + name + "'", "Error", platform::MB_ICONERROR);
  else if (loaded.status == lcddef::SegmentImage::Corrupt)
    platform::MessageBox(segdraw::kBadDefinition, "", platform::MB_OK);
  images_[slot] = loaded.image;
}

void CSegdrawDoc::SetAddress(int i, uint16_t address) {
  if (!valid(i) || segment(i)[Record::kAddress] == address) return;
  segment(i)[Record::kAddress] = address;
  SetModifiedFlag();
}

void CSegdrawDoc::SetBit(int i, uint16_t bit) {
  if (valid(i)) segment(i)[Record::kBit] = bit;
}

uint16_t CSegdrawDoc::GetWidth(int i) const {
  return valid(i) ? static_cast<uint16_t>(segment(i)[Record::kRight] - segment(i)[Record::kLeft]) : kRefused;
}

uint16_t CSegdrawDoc::GetHeight(int i) const {
  return valid(i) ? static_cast<uint16_t>(segment(i)[Record::kBottom] - segment(i)[Record::kTop]) : kRefused;
}

void CSegdrawDoc::SetLeft(int i, int left) {
  if (!valid(i)) return;
  const uint16_t width = GetWidth(i);
  segment(i)[Record::kLeft] = static_cast<uint16_t>(left);
  segment(i)[Record::kRight] = static_cast<uint16_t>(left + width);
}

void CSegdrawDoc::SetTop(int i, int top) {
  if (!valid(i)) return;
  const uint16_t height = GetHeight(i);
  segment(i)[Record::kTop] = static_cast<uint16_t>(top);
  segment(i)[Record::kBottom] = static_cast<uint16_t>(top + height);
}

void CSegdrawDoc::SetWidth(int i, int width) {
  if (valid(i)) segment(i)[Record::kRight] = static_cast<uint16_t>(segment(i)[Record::kLeft] + width);
}

void CSegdrawDoc::SetHeight(int i, int height) {
  if (valid(i)) segment(i)[Record::kBottom] = static_cast<uint16_t>(segment(i)[Record::kTop] + height);
}

void CSegdrawDoc::SetBitmapIndex(int i, uint16_t bitmap) {
  if (valid(i)) segment(i)[Record::kBitmap] = bitmap;
}

bool CSegdrawDoc::GetSegmentRecord(int i, Record& out) const {
  if (!valid(i)) return false;
  out = segment(i);
  return true;
}

int CSegdrawDoc::AddSegment() { return AppendSegmentRecord(Record::Fresh()); }

int CSegdrawDoc::InsertSegment(int i) {
  if (GetSegmentCount() >= lcddef::kMaxSegments || i < 0 || i > GetSegmentCount()) return -1;
  def_.segments.insert(def_.segments.begin() + i, Record::Fresh());
  return i;
}

int CSegdrawDoc::AppendSegmentRecord(const Record& record) {
  if (GetSegmentCount() >= lcddef::kMaxSegments) return -1;
  def_.segments.push_back(record);
  return GetSegmentCount() - 1;
}

int CSegdrawDoc::DeleteSegment(int i) {
  if (!valid(i)) return -1;
  def_.segments.erase(def_.segments.begin() + i);
  if (i < GetSegmentCount()) return i;
  return GetSegmentCount() - 1;
}

void CSegdrawDoc::SortSegments() { lcddef::SortSegments(def_.segments); }

QRect CSegdrawDoc::GetDisplayRect() const {
  return QRect(QPoint(def_.x, def_.y), QPoint(def_.x + def_.width, def_.y + def_.height));
}

void CSegdrawDoc::SetDisplayRect(int left, int top, int right, int bottom) {
  def_.x = static_cast<int16_t>(left);
  def_.y = static_cast<int16_t>(top);
  def_.width = static_cast<int16_t>(right - left);
  def_.height = static_cast<int16_t>(bottom - top);
  UpdateAllViews();
}

int CSegdrawDoc::AddBitmap(const std::string& name) {
  if (GetBitmapCount() >= lcddef::kMaxBitmaps) return -1;
  def_.bitmaps.push_back(name.substr(0, lcddef::kNameBytes - 1));
  images_.emplace_back();
  loadBitmap(images_.size() - 1);
  return GetBitmapCount() - 1;
}

void CSegdrawDoc::RemoveBitmap(int i) {
  if (i < 0 || i >= GetBitmapCount()) return;
  def_.bitmaps.erase(def_.bitmaps.begin() + i);
  images_.erase(images_.begin() + i);
  for (Record& s : def_.segments)
    if (s[Record::kBitmap] != lcddef::kNoBitmap && s[Record::kBitmap] > i) --s[Record::kBitmap];
}

uint16_t CSegdrawDoc::FindBitmap(const std::string& name) const {
  for (int i = 0; i < GetBitmapCount(); ++i)
    if (GetBitmapName(i) == name) return static_cast<uint16_t>(i);
  return lcddef::kNoBitmap;
}

int CSegdrawDoc::CountSegmentsUsingBitmap(int i) const {
  int n = 0;
  for (const Record& s : def_.segments) n += s[Record::kBitmap] == i ? 1 : 0;
  return n;
}

uint16_t CSegdrawDoc::GetSegmentBitmapName(int i, std::string& name) const {
  name.clear();
  const uint16_t bitmap = GetBitmapIndex(i);
  if (!valid(i) || bitmap >= GetBitmapCount()) return lcddef::kNoBitmap;
  name = GetBitmapName(bitmap);
  return bitmap;
}

void CSegdrawDoc::SetSegmentBitmapName(int i, const std::string& name) {
  const uint16_t bitmap = GetBitmapIndex(i);
  if (valid(i) && bitmap < GetBitmapCount())
    def_.bitmaps[bitmap] = name.substr(0, lcddef::kNameBytes - 1);
}

void CSegdrawDoc::GetAllocationParameters(int16_t& segments, int16_t& multiplexer,
                                          int16_t& defaultAllocation) const {
  segments = def_.allocation.segments;
  multiplexer = def_.allocation.multiplexer;
  defaultAllocation = def_.allocation.defaultAllocation;
}

void CSegdrawDoc::SetAllocationParameters(int16_t segments, int16_t multiplexer, int16_t defaultAllocation) {
  def_.allocation.segments = segments;
  def_.allocation.multiplexer = multiplexer;
  def_.allocation.defaultAllocation = defaultAllocation;
  SetModifiedFlag();
}

void CSegdrawDoc::SetAllocationTable(const Table& table) {
  def_.allocation.table = table;
  SetModifiedFlag();
}

void CSegdrawDoc::SetDocumentFolder(const std::string& folder) {
  folder_ = folder;
  if (!folder_.empty() && (folder_.back() == '\\' || folder_.back() == '/')) folder_.pop_back();
}
