#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "platform/run_time_error.h"
#include "settings/convert_mod.h"
#include "settings/global_numbers.h"

using namespace monitor;

namespace {

int OverflowNumber(const std::function<void()>& call) {
  try {
    call();
  } catch (const platform::RunTimeError& e) {
    EXPECT_EQ(e.Description(), "Overflow");
    return e.Number();
  }
  return 0;
}

}  // namespace

TEST(NumberConversions, HexToNumberReadsUpToFourDigitsAs16BitsInBothWidths) {
  struct Case {
    const char* text;
    int32_t narrow, wide;
  };
  const Case cases[] = {
      {"7F", 127, 127},     {"7f", 127, 127},    {"FFFF", -1, -1},    {"8000", -32768, -32768},
      {"0FFF", 4095, 4095}, {"18000", 0, 98304}, {"FFFFFFFF", 0, -1}, {"7FFFFFFF", 0, 2147483647},
      {"123456789", 0, 0},  {"", 0, 0},          {"G1", 0, 0},        {"1 ", 0, 0},
      {"-1", 0, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HexToNumber(c.text, 0), c.narrow) << c.text;
    EXPECT_EQ(HexToNumber(c.text, -1), c.wide) << c.text;
  }
}

TEST(NumberConversions, LeadingHexValueReadsTheLeadingDigitsOrSaysTheyDoNotFit) {
  struct Case {
    const char* text;
    std::optional<int32_t> narrow, wide;
  };
  const std::nullopt_t none = std::nullopt;
  const Case cases[] = {
      {"7F", 127, 127},
      {"7fzz", 127, 127},
      {"1 2", 1, 1},
      {"", 0, 0},
      {"G1", 0, 0},
      {"-1", 0, 0},
      {"FFFF", -1, -1},
      {"8000", -32768, -32768},
      {"00012", 0x12, 0x12},
      {"07FFF", 32767, 32767},
      {"12345", none, 0x12345},
      {"18000", none, 98304},
      {"FFFFFFFF", -1, -1},  // a 32-bit -1 fits a 16-bit box
      {"FFFF7FFF", none, -32769},
      {"000000FF", 255, 255},
      {"123456789", none, none},
      {"000000000", none, none},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LeadingHexValue(c.text, false), c.narrow) << c.text;
    EXPECT_EQ(LeadingHexValue(c.text, true), c.wide) << c.text;
  }
}

TEST(NumberConversions, NumberToHexAndIsNonZero) {
  EXPECT_EQ(NumberToHex(0), "0000");
  EXPECT_EQ(NumberToHex(-1), "FFFF");
  EXPECT_EQ(NumberToHex(0x1A3), "01A3");
  EXPECT_EQ(NumberToHex(10), "000A");
  EXPECT_EQ(HexToNumber(NumberToHex(-2), 0), -2);
  EXPECT_EQ(IsNonZero(0), 0);
  EXPECT_EQ(IsNonZero(-1), 1);
  EXPECT_EQ(IsNonZero(256), 1);
}

TEST(NumberConversions, CodeListConversionsCountBadDigitsAsZeroAndRaiseOverflow) {
  EXPECT_EQ(HexStrToLong("a5"), 165);
  EXPECT_EQ(HexStrToLong("1G2"), 0x102);
  EXPECT_EQ(HexStrToLong("7FFFFFFF"), 2147483647);
  EXPECT_EQ(HexStrToLong("000000007FFFFFFF"), 2147483647);
  EXPECT_EQ(HexStrToLong(""), 0);
  EXPECT_EQ(OverflowNumber([] { HexStrToLong("80000000"); }), 6);
  EXPECT_EQ(OverflowNumber([] { HexStrToLong("123456789"); }), 6);

  // The text is rewritten to its last six characters after zero padding.
  const std::tuple<std::string, std::string, int32_t> padded[] = {
      {"1A", "00001A", 1}, {"F27F", "00F27F", 0xF27}, {"9123456", "123456", 0x12345}};
  for (auto [text, rewritten, value] : padded) {
    EXPECT_EQ(HexStr6ToLong(text), value) << rewritten;
    EXPECT_EQ(text, rewritten);
  }

  EXPECT_EQ(LongToBytes3(0x123456), (std::array<uint8_t, 3>{0x56, 0x34, 0x12}));
  EXPECT_EQ(LongToBytes3(0xFFFFFF), (std::array<uint8_t, 3>{0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(OverflowNumber([] { LongToBytes3(-1); }), 6);
  EXPECT_EQ(OverflowNumber([] { LongToBytes3(0x1000000); }), 6);
}
