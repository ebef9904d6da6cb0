// The .CFG codec: golden bytes, the old format, the allocation table, the
// overlap masks, sorting, and the refusal of every malformed file.
#include <gtest/gtest.h>

#include <lcddef/bmp_check.h>
#include <lcddef/lcd_definition.h>

namespace {

using lcddef::Definition;
using lcddef::ReadError;
using R = lcddef::SegmentRecord;

std::string Hex(const std::string& hex) {
  std::string out;
  for (size_t i = 0; i + 1 < hex.size();) {
    if (hex[i] == ' ') { ++i; continue; }
    out.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    i += 2;
  }
  return out;
}

std::string Words(std::initializer_list<uint16_t> words, int zeros = 0) {
  std::string out;
  for (uint16_t w : words) out += {static_cast<char>(w & 0xFF), static_cast<char>(w >> 8)};
  out.append(static_cast<size_t>(zeros) * 2, '\0');
  return out;
}

std::string Bytes(const Definition& d) {
  std::string out;
  EXPECT_EQ(lcddef::Write(d, out), lcddef::WriteError::None);
  return out;
}

R Segment(uint16_t address, uint16_t bit, int16_t left, int16_t top, int16_t right, int16_t bottom) {
  R r = R::Fresh();
  r[R::kAddress] = address;
  r[R::kBit] = bit;
  r[R::kLeft] = static_cast<uint16_t>(left);
  r[R::kTop] = static_cast<uint16_t>(top);
  r[R::kRight] = static_cast<uint16_t>(right);
  r[R::kBottom] = static_cast<uint16_t>(bottom);
  return r;
}

TEST(LcdDefinition, GoldenBytesAndRoundTrips) {
  EXPECT_EQ(Bytes(Definition()), Hex("0a000a00f4016400000000 00c8002800 0400ffff"));
  Definition one;
  one.bitmaps = {"a.bmp"};
  one.segments = {R::Fresh()};
  one.segments[0][R::kBitmap] = 0;
  const std::string golden = Hex("0a000a00f401640001000100c800 0600612e626d7000 0100000001000000000028002800 0000") +
                             Words({}, 48) + Hex("28000400ffff");
  ASSERT_EQ(golden.size(), 140u);
  EXPECT_EQ(Bytes(one), golden);
  Definition back;
  ASSERT_EQ(lcddef::Read(golden, back), ReadError::None);
  EXPECT_EQ(Bytes(back), golden);

  // A table is stored only with the default allocation off: 2 x 4 words.
  Definition table;
  table.allocation.segments = 2;
  table.allocation.multiplexer = 4;
  table.allocation.defaultAllocation = 0;
  for (uint16_t i = 0; i < 8; ++i) table.allocation.table[i] = static_cast<uint16_t>(i + 100);
  table.allocation.table[8] = 7;  // beyond the stored length
  const std::string withTable = Bytes(table);
  EXPECT_EQ(withTable.size(), 14u + 6 + 16);
  EXPECT_EQ(withTable.substr(14), Words({2, 4, 0, 100, 101, 102, 103, 104, 105, 106, 107}));
  ASSERT_EQ(lcddef::Read(withTable, back), ReadError::None);
  EXPECT_EQ(back.allocation.table[7], 107);
  EXPECT_EQ(back.allocation.table[8], 0xFFFF);
}

TEST(LcdDefinition, AnOldFileLoadsWithDefaultsAndSavesAsVersion200) {
  // Version 100: 40-word segments and no allocation block.
  std::string old = Words({1, 2, 3, 4, 0, 1, 100}) + Words({1, 5, 8, 3, 4, 13, 14, 0xFFFF}, 32);
  old.replace(14 + 2 * 39, 2, Words({0x4242}));
  Definition d;
  d.allocation.segments = 7;  // overwritten by the read
  ASSERT_EQ(lcddef::Read(old, d), ReadError::None);
  EXPECT_EQ(d.version, 200);
  ASSERT_EQ(d.segments.size(), 1u);
  EXPECT_EQ(d.segments[0][R::kAddress], 5);
  EXPECT_EQ(d.segments[0][39], 0x4242);
  for (int w = 40; w < 56; ++w) EXPECT_EQ(d.segments[0][w], 0) << w;
  EXPECT_EQ(d.allocation.segments, 40);
  EXPECT_EQ(d.allocation.multiplexer, 4);
  EXPECT_EQ(d.allocation.defaultAllocation, -1);
  EXPECT_EQ(d.allocation.table[159], 0xFFFF);
  const std::string saved = Bytes(d);
  EXPECT_EQ(saved.size(), 14u + 112 + 6);
  EXPECT_EQ(saved.substr(12, 2), Words({200}));
}

TEST(LcdDefinition, OverlapMasksAndSorting) {
  std::vector<R> s = {Segment(3, 2, 0, 0, 10, 10), Segment(3, 1, 5, 5, 15, 15), Segment(1, 8, 9, 0, 20, 5),
                      Segment(50, 4, 0, 0, 30, 30), Segment(3, 4, 10, 0, 20, 10)};
  for (R& r : s) r[R::kMasks + 40] = 0x77;  // stale
  lcddef::BuildOverlapMasks(s);
  EXPECT_EQ(s[0][R::kMasks + 3], 1);  // the other one at address 3, never its own bit
  EXPECT_EQ(s[1][R::kMasks + 3], 2 | 4);
  EXPECT_EQ(s[0][R::kMasks + 1], 8);
  EXPECT_EQ(s[4][R::kMasks + 3], 1);  // touching edges do not overlap segment 0
  EXPECT_EQ(s[0][R::kMasks + 40], 0);
  EXPECT_EQ(s[3][R::kMasks + 3], 1 | 2 | 4);  // address 50 has no mask word: left out of the others

  std::vector<R> sorted = {Segment(3, 2, 1, 0, 0, 0), Segment(3, 1, 2, 0, 0, 0), Segment(1, 8, 3, 0, 0, 0),
                           Segment(3, 1, 4, 0, 0, 0)};
  lcddef::SortSegments(sorted);
  std::vector<int> order;
  for (const R& r : sorted) order.push_back(r[R::kLeft]);
  EXPECT_EQ(order, (std::vector<int>{3, 2, 4, 1}));
}

TEST(LcdDefinition, MalformedFilesAreRefusedWhole) {
  const std::string header = Words({10, 10, 500, 100});
  const struct {
    std::string bytes;
    ReadError error;
  } cases[] = {
      {header + Words({161, 0, 200}), ReadError::TooManyBitmaps},
      {header + Words({0, 161, 200}), ReadError::TooManySegments},
      {header + Words({1, 0, 200, 0}), ReadError::BadNameLength},
      {header + Words({1, 0, 200, 145}) + std::string(145, '\0'), ReadError::BadNameLength},
      {header + Words({1, 0, 200, 2}) + "ab", ReadError::NameNotTerminated},
      {header + Words({1, 0, 200, 6}) + "a.b", ReadError::Truncated},
      {header + Words({0, 1, 200}) + std::string(111, '\0'), ReadError::Truncated},
      {header + Words({0, 0, 200, 40, 4}), ReadError::Truncated},
      {header + Words({0, 0, 200, 0xFFFF, 4, 0}), ReadError::BadTableLength},
      {header + Words({0, 0, 200, 41, 4, 0}), ReadError::BadAllocationCounts},
      {header + Words({0, 0, 200, 2, 81, 0xFFFF}), ReadError::BadAllocationCounts},
      {header + Words({0, 0, 200, 32767, 32767, 0}), ReadError::BadAllocationCounts},
      {header + Words({0, 0, 200, 2, 4, 0, 1, 2, 3}), ReadError::Truncated},
      {header.substr(0, 7), ReadError::Truncated},
  };
  for (const auto& c : cases) {
    Definition d;
    d.x = 77;
    EXPECT_EQ(lcddef::Read(c.bytes, d), c.error) << testing::PrintToString(c.bytes);
    EXPECT_EQ(d.x, 77);  // untouched
  }
  // Any counts whose table fits its 160 entries read and write back unchanged.
  for (const auto& [s, m] : {std::pair<uint16_t, uint16_t>{41, 1}, {80, 2}, {160, 1}, {2, 80}}) {
    const std::string bytes = header + Words({0, 0, 200, s, m, 0}, s * m);
    Definition d;
    EXPECT_TRUE(lcddef::Read(bytes, d) == ReadError::None && Bytes(d) == bytes) << s << "x" << m;
  }
  // What cannot be stored is not written.
  Definition bad;
  bad.allocation.defaultAllocation = 0;
  bad.allocation.segments = -1;
  std::string out = "x";
  EXPECT_EQ(lcddef::Write(bad, out), lcddef::WriteError::BadTableLength);
  EXPECT_TRUE(out.empty());
  bad = Definition();
  bad.bitmaps = {std::string(144, 'n')};
  EXPECT_EQ(lcddef::Write(bad, out), lcddef::WriteError::NameTooLong);
  bad.bitmaps.assign(161, "a");
  EXPECT_EQ(lcddef::Write(bad, out), lcddef::WriteError::TooManyBitmaps);
}

}  // namespace
