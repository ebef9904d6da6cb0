#pragma once
// The LCD definition: the display rectangle, the segment bitmap names, up to
// 160 segment records and the segment allocation table, and its binary file
// (`.CFG`): no magic, no padding, little-endian numbers.
//
//   header     i16 x, y, width, height; u16 bitmap count, segment count; i16 version
//   bitmaps    u16 length L (with the NUL), then L bytes: the name and its NUL
//   segments   56 words each in version 200, 40 words in any other
//   allocation version 200 only: i16 segments, multiplexer, default allocation;
//              the table (segments x multiplexer words) only when default is not -1
//
// No Qt here: the segment editor and the LCD display stand-in share it.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lcddef {

inline constexpr int kMaxSegments = 160;
inline constexpr int kMaxBitmaps = 160;
inline constexpr int kNameBytes = 144;      // a bitmap name with its NUL
inline constexpr int kRecordWords = 56;
inline constexpr int kOldRecordWords = 40;  // segments of files before version 200
inline constexpr int kMaskAddresses = 48;   // overlap masks exist for addresses 0-47
inline constexpr int kTableEntries = 160;
// The largest allocation count: a table of one line or one common output.
inline constexpr int kMaxAllocationCount = kTableEntries;
inline constexpr int16_t kVersion = 200;
inline constexpr uint16_t kNoBitmap = 0xFFFF;
inline constexpr uint16_t kDefaultEntry = 0xFFFF;  // the table entry the default allocation gives

// One segment: 56 words, stored as they are in the file and on the clipboard.
struct SegmentRecord {
  enum Word { kCreated = 0, kAddress, kBit, kLeft, kTop, kRight, kBottom, kBitmap, kMasks };
  std::array<uint16_t, kRecordWords> words{};

  // A new segment: address 0, bit 1, 40 x 40 at the display's corner, no bitmap.
  static SegmentRecord Fresh();
  bool operator==(const SegmentRecord&) const = default;
  uint16_t& operator[](int word) { return words[static_cast<size_t>(word)]; }
  uint16_t operator[](int word) const { return words[static_cast<size_t>(word)]; }
  // Coordinates are signed display units.
  int16_t left() const { return static_cast<int16_t>(words[kLeft]); }
  int16_t top() const { return static_cast<int16_t>(words[kTop]); }
  int16_t right() const { return static_cast<int16_t>(words[kRight]); }
  int16_t bottom() const { return static_cast<int16_t>(words[kBottom]); }

  static constexpr size_t kBytes = kRecordWords * 2;
  std::string bytes() const;                              // 112 bytes, little-endian
  static bool FromBytes(std::string_view bytes, SegmentRecord& out);  // exactly 112 bytes
};

struct Allocation {
  int16_t segments = 40;
  int16_t multiplexer = 4;
  int16_t defaultAllocation = -1;  // -1: default allocation, no table stored; 0: the table
  std::array<uint16_t, kTableEntries> table;
  Allocation() { table.fill(kDefaultEntry); }
  // The number of table words the file holds (segments x multiplexer),
  // 0 under the default allocation.
  int storedEntries() const;
  // Counts whose table fits the 160 entries: each -1 (undefined) or 0 to
  // 160, and segments x multiplexer at most 160 when both are defined.
  // Whatever loops over the lines and outputs of such counts stays bounded.
  bool countsFit() const;
};

struct Definition {
  int16_t x = 10, y = 10, width = 500, height = 100;
  std::vector<std::string> bitmaps;   // names without a folder, at most 143 characters
  std::vector<SegmentRecord> segments;
  Allocation allocation;
  int16_t version = kVersion;
};

enum class ReadError {
  None,
  Truncated,           // the file ends inside a field
  TooManyBitmaps,      // header count above 160
  TooManySegments,
  BadNameLength,       // 0, or above 144
  NameNotTerminated,   // the last byte of a name is not NUL
  BadTableLength,      // a stored table of an undefined count
  BadAllocationCounts, // counts whose table would not fit 160 entries
};

// Reads a whole file (bytes after its end are ignored). On any error `out`
// is left as it was.
ReadError Read(std::string_view bytes, Definition& out);

enum class WriteError { None, TooManyBitmaps, TooManySegments, NameTooLong, BadTableLength };

// Writes the file in version 200 with the whole allocation block. The
// overlap masks are written as they are (BuildOverlapMasks first). On any
// error `bytes` is left empty.
WriteError Write(const Definition& definition, std::string& bytes);

// Word 8 + a of each segment: the OR of the bits of the other segments at
// address a (below 48) whose rectangles overlap it with a non-empty area.
void BuildOverlapMasks(std::vector<SegmentRecord>& segments);

// Ascending by address, then by bit mask; equal records keep their order.
void SortSegments(std::vector<SegmentRecord>& segments);

}  // namespace lcddef
