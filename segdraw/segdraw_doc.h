#pragma once
// The LCD definition being edited: the display rectangle, the segment
// bitmaps (name and loaded image), the segment list and the allocation. The
// views and dialogs change it only through these operations. A segment index
// outside the list is refused: setters do nothing, getters give 0xFFFF (the
// bitmap index 0).
#include <QImage>
#include <QRect>
#include <array>
#include <string>
#include <vector>

#include <lcddef/lcd_definition.h>
#include <platform/document.h>

class CSegdrawDoc : public platform::Document {
 public:
  static constexpr uint16_t kRefused = 0xFFFF;
  using Record = lcddef::SegmentRecord;
  using Table = std::array<uint16_t, lcddef::kTableEntries>;

  CSegdrawDoc() = default;

  bool OnNewDocument() override;
  bool OnOpenDocument(const std::string& path) override;
  bool OnSaveDocument(const std::string& path) override;

  // Segments.
  int GetSegmentCount() const { return static_cast<int>(def_.segments.size()); }
  uint16_t GetAddress(int i) const { return word(i, Record::kAddress); }
  void SetAddress(int i, uint16_t address);
  uint16_t GetBit(int i) const { return word(i, Record::kBit); }
  void SetBit(int i, uint16_t bit);
  uint16_t GetLeft(int i) const { return word(i, Record::kLeft); }
  uint16_t GetTop(int i) const { return word(i, Record::kTop); }
  uint16_t GetWidth(int i) const;
  uint16_t GetHeight(int i) const;
  void SetLeft(int i, int left);  // moves: right follows
  void SetTop(int i, int top);
  void SetWidth(int i, int width);
  void SetHeight(int i, int height);
  uint16_t GetBitmapIndex(int i) const { return valid(i) ? segment(i)[Record::kBitmap] : 0; }
  void SetBitmapIndex(int i, uint16_t bitmap);
  bool GetSegmentRecord(int i, Record& out) const;
  int AddSegment();
  int InsertSegment(int i);
  int AppendSegmentRecord(const Record& record);
  int DeleteSegment(int i);
  void SortSegments();

  // The display rectangle: left, top, right, bottom.
  QRect GetDisplayRect() const;
  void SetDisplayRect(int left, int top, int right, int bottom);
  int16_t GetDisplayX() const { return def_.x; }
  int16_t GetDisplayY() const { return def_.y; }
  int16_t GetDisplayWidth() const { return def_.width; }
  int16_t GetDisplayHeight() const { return def_.height; }
  void SetDisplayX(int v) { def_.x = static_cast<int16_t>(v); }
  void SetDisplayY(int v) { def_.y = static_cast<int16_t>(v); }
  void SetDisplayWidth(int v) { def_.width = static_cast<int16_t>(v); }
  void SetDisplayHeight(int v) { def_.height = static_cast<int16_t>(v); }

  // Bitmaps: -1 when all 160 slots are in use.
  int AddBitmap(const std::string& name);
  void RemoveBitmap(int i);
  uint16_t FindBitmap(const std::string& name) const;
  int CountSegmentsUsingBitmap(int i) const;
  int GetBitmapCount() const { return static_cast<int>(def_.bitmaps.size()); }
  const std::string& GetBitmapName(int i) const { return def_.bitmaps[static_cast<size_t>(i)]; }
  // The segment's bitmap name, or "" and 0xFFFF when it has none.
  uint16_t GetSegmentBitmapName(int i, std::string& name) const;
  void SetSegmentBitmapName(int i, const std::string& name);
  // The loaded image of a slot: null when it could not be loaded.
  const QImage& BitmapImage(int slot) const { return images_[static_cast<size_t>(slot)]; }

  // Allocation.
  void GetAllocationParameters(int16_t& segments, int16_t& multiplexer, int16_t& defaultAllocation) const;
  void SetAllocationParameters(int16_t segments, int16_t multiplexer, int16_t defaultAllocation);
  const Table& GetAllocationTable() const { return def_.allocation.table; }
  void SetAllocationTable(const Table& table);

  const std::string& GetDocumentFolder() const { return folder_; }
  void SetDocumentFolder(const std::string& folder);
  const std::string& GetBaseName() const { return base_; }
  const lcddef::Definition& Definition() const { return def_; }

 private:
  bool valid(int i) const { return i >= 0 && i < GetSegmentCount(); }
  Record& segment(int i) { return def_.segments[static_cast<size_t>(i)]; }
  const Record& segment(int i) const { return def_.segments[static_cast<size_t>(i)]; }
  uint16_t word(int i, int w) const { return valid(i) ? segment(i)[w] : kRefused; }
  void clear();
  void loadBitmap(size_t slot);

  lcddef::Definition def_;
  std::vector<QImage> images_;
  std::string folder_, base_;
};
