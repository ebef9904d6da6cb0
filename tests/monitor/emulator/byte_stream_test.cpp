// The byte stream in the ways the link uses it: packets built byte by byte,
// received blocks wrapped and cut, chunks appended, bounds enforced.
#include "emulator/byte_stream.h"

#include <gtest/gtest.h>

#include "platform/run_time_error.h"

namespace {

using Bytes = std::vector<uint8_t>;

int ErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const platform::RunTimeError& e) {
    return e.Number();
  }
  return 0;
}

TEST(ByteStream, BuildsWrapsCutsAndGuardsItsBounds) {
  clsByteStream s;
  EXPECT_EQ(s.length_(), 0);
  EXPECT_EQ(ErrorOf([&] { s.left_(1); }), 9);

  s.and_(0x41);
  EXPECT_EQ(s.length_(), 1);
  EXPECT_EQ(s.bytes(), Bytes({0x41}));

  s.conc_({1, 2, 3});
  s.conc_(s.bytes());  // appending a stream to itself keeps every byte
  EXPECT_EQ(s.bytes(), Bytes({0x41, 1, 2, 3, 0x41, 1, 2, 3}));

  s.bytes(Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  EXPECT_EQ(s.length_(), 12);
  EXPECT_EQ(s.left_(3), Bytes({1, 2, 3}));
  EXPECT_EQ(s.right_(9), Bytes({4, 5, 6, 7, 8, 9, 10, 11, 12}));
  EXPECT_EQ(s.length_(), 12);  // cutting leaves the stream as it was
  s.set_(12, 0xEE);
  s.set_(1, 0xAA);
  EXPECT_EQ(s.right_(1), Bytes({0xEE}));
  EXPECT_EQ(s.left_(1), Bytes({0xAA}));

  for (auto bad : std::vector<std::function<void()>>{
           [&] { s.left_(13); }, [&] { s.right_(13); }, [&] { s.left_(0); }, [&] { s.right_(-1); },
           [&] { s.set_(0, 1); }, [&] { s.set_(13, 1); }, [&] { s.ReDim_(-1, 0); }})
    EXPECT_EQ(ErrorOf(bad), 9);
  EXPECT_EQ(s.length_(), 12);

  s.ReDim_(5, 0xFF);
  EXPECT_EQ(s.bytes(), Bytes(5, 0xFF));
  s.ReDim_(0, 0);
  EXPECT_EQ(s.length_(), 0);

  // The largest block the monitor builds: a whole program of 3-byte units.
  for (int i = 0; i < 4096 * 3; ++i) s.and_(static_cast<uint8_t>(i));
  EXPECT_EQ(s.length_(), 4096 * 3);
  EXPECT_EQ(s.right_(2), Bytes({0xFE, 0xFF}));
}

}  // namespace
