#include "lcddef/lcd_definition.h"

#include <algorithm>

namespace lcddef {
namespace {

// Little-endian fields over a byte string; every read checks the end first.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool u16(uint16_t& v) {
    if (bytes_.size() - pos_ < 2) return false;
    v = static_cast<uint16_t>(static_cast<uint8_t>(bytes_[pos_]) |
                              static_cast<uint8_t>(bytes_[pos_ + 1]) << 8);
    pos_ += 2;
    return true;
  }
  bool i16(int16_t& v) {
    uint16_t u = 0;
    if (!u16(u)) return false;
    v = static_cast<int16_t>(u);
    return true;
  }
  bool take(size_t n, std::string_view& out) {
    if (bytes_.size() - pos_ < n) return false;
    out = bytes_.substr(pos_, n);
    pos_ += n;
    return true;
  }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
};

void PutU16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

// The table words a file stores for these counts; -1 when they have none
// that fits.
int TableLength(const Allocation& a) {
  if (!a.countsFit()) return -1;
  if (a.defaultAllocation == -1) return 0;
  if (a.segments < 0 || a.multiplexer < 0) return -1;
  return a.segments * a.multiplexer;
}

ReadError ReadAllocation(Reader& in, Allocation& a) {
  if (!in.i16(a.segments) || !in.i16(a.multiplexer) || !in.i16(a.defaultAllocation))
    return ReadError::Truncated;
  if (!a.countsFit()) return ReadError::BadAllocationCounts;
  const int n = TableLength(a);
  if (n < 0) return ReadError::BadTableLength;
  for (int i = 0; i < n; ++i)
    if (!in.u16(a.table[static_cast<size_t>(i)])) return ReadError::Truncated;
  return ReadError::None;
}

}  // namespace

SegmentRecord SegmentRecord::Fresh() {
  SegmentRecord r;
  r[kCreated] = 1;
  r[kBit] = 1;
  r[kRight] = 40;
  r[kBottom] = 40;
  r[kBitmap] = kNoBitmap;
  return r;
}

std::string SegmentRecord::bytes() const {
  std::string out;
  out.reserve(kBytes);
  for (uint16_t w : words) PutU16(out, w);
  return out;
}

bool SegmentRecord::FromBytes(std::string_view bytes, SegmentRecord& out) {
  if (bytes.size() != kBytes) return false;
  Reader in(bytes);
  for (uint16_t& w : out.words) in.u16(w);
  return true;
}

int Allocation::storedEntries() const { return std::max(TableLength(*this), 0); }

bool Allocation::countsFit() const {
  const auto defined = [](int count) { return count >= 0 && count <= kMaxAllocationCount; };
  if (segments != -1 && !defined(segments)) return false;
  if (multiplexer != -1 && !defined(multiplexer)) return false;
  return segments == -1 || multiplexer == -1 || segments * multiplexer <= kTableEntries;
}

ReadError Read(std::string_view bytes, Definition& out) {
  Reader in(bytes);
  Definition d;
  uint16_t bitmapCount = 0, segmentCount = 0;
  if (!in.i16(d.x) || !in.i16(d.y) || !in.i16(d.width) || !in.i16(d.height) ||
      !in.u16(bitmapCount) || !in.u16(segmentCount) || !in.i16(d.version))
    return ReadError::Truncated;
  if (bitmapCount > kMaxBitmaps) return ReadError::TooManyBitmaps;
  if (segmentCount > kMaxSegments) return ReadError::TooManySegments;
  for (int i = 0; i < bitmapCount; ++i) {
    uint16_t length = 0;
    std::string_view name;
    if (!in.u16(length)) return ReadError::Truncated;
    if (length == 0 || length > kNameBytes) return ReadError::BadNameLength;
    if (!in.take(length, name)) return ReadError::Truncated;
    if (name.back() != '\0') return ReadError::NameNotTerminated;
    d.bitmaps.emplace_back(name.substr(0, name.find('\0')));
  }
  const int words = d.version == kVersion ? kRecordWords : kOldRecordWords;
  d.segments.resize(segmentCount);
  for (SegmentRecord& s : d.segments)
    for (int w = 0; w < words; ++w)
      if (!in.u16(s[w])) return ReadError::Truncated;
  if (d.version == kVersion) {
    if (ReadError e = ReadAllocation(in, d.allocation); e != ReadError::None) return e;
  }
  d.version = kVersion;
  out = std::move(d);
  return ReadError::None;
}

WriteError Write(const Definition& d, std::string& bytes) {
  bytes.clear();
  if (d.bitmaps.size() > kMaxBitmaps) return WriteError::TooManyBitmaps;
  if (d.segments.size() > kMaxSegments) return WriteError::TooManySegments;
  for (const std::string& name : d.bitmaps)
    if (name.size() >= kNameBytes) return WriteError::NameTooLong;
  const int tableLength = TableLength(d.allocation);
  if (tableLength < 0) return WriteError::BadTableLength;

  std::string out;
  out.reserve(20 + d.segments.size() * SegmentRecord::kBytes + d.bitmaps.size() * 16);
  for (int16_t v : {d.x, d.y, d.width, d.height}) PutU16(out, static_cast<uint16_t>(v));
  PutU16(out, static_cast<uint16_t>(d.bitmaps.size()));
  PutU16(out, static_cast<uint16_t>(d.segments.size()));
  PutU16(out, static_cast<uint16_t>(kVersion));
  for (const std::string& name : d.bitmaps) {
    PutU16(out, static_cast<uint16_t>(name.size() + 1));
    out.append(name);
    out.push_back('\0');
  }
  for (const SegmentRecord& s : d.segments) out += s.bytes();
  const Allocation& a = d.allocation;
  for (int16_t v : {a.segments, a.multiplexer, a.defaultAllocation})
    PutU16(out, static_cast<uint16_t>(v));
  for (int i = 0; i < tableLength; ++i) PutU16(out, a.table[static_cast<size_t>(i)]);
  bytes = std::move(out);
  return WriteError::None;
}

}  // namespace lcddef
