// What each bit of QV4234's option word 3 patches in the active parameter
// set, and the controller options text.
#include <gtest/gtest.h>

#include "parameter_set.h"

namespace qv4234 {
namespace {

// The fields that differ between `a` and `b`.
std::vector<int> Differences(const ParameterSet& a, const ParameterSet& b) {
  std::vector<int> d;
  for (int f = 0; f < 82; ++f)
    if (a[f] != b[f]) d.push_back(f);
  return d;
}

TEST(ActiveSet, BuiltFromTheChosenSetWithSlidersAtTheTop) {
  for (uint32_t set : {0u, 4u}) {
    const ParameterSet& base = set ? kSet1 : kSet0;
    const ParameterSet a = BuildActiveSet(set);
    EXPECT_EQ(a[0], 3);
    EXPECT_EQ(a[59], base[10]);
    EXPECT_EQ(a[81], base[10]);
    // Set 1 alone keeps fields 4-8 of set 0 (bit 4 clear) and field 37 = bit 3.
    EXPECT_EQ(Differences(a, base), set ? (std::vector<int>{0, 6, 37, 59, 81}) : (std::vector<int>{0, 59, 81}));
  }
}

TEST(ActiveSet, EachOptionBitPatchesExactlyItsFields) {
  for (uint32_t set : {0u, 4u}) {
    const ParameterSet plain = BuildActiveSet(set);
    // Bit 0: field 33 from index field 35 (equal to 34's threshold in both sets).
    const ParameterSet b0 = BuildActiveSet(set | 1);
    EXPECT_EQ(b0[33], plain[62 + plain[35]]);
    EXPECT_TRUE(Differences(b0, plain).empty() || Differences(b0, plain) == std::vector<int>{33});
    EXPECT_EQ(Differences(BuildActiveSet(set | 2), plain), std::vector<int>{4});
    EXPECT_EQ(BuildActiveSet(set | 2)[4], 1);
    const ParameterSet b3 = BuildActiveSet(set | 8);
    EXPECT_EQ(b3[37], 1);
    EXPECT_EQ(Differences(b3, plain), std::vector<int>{37});
    const ParameterSet b4 = BuildActiveSet(set | 16);
    for (int f = 5; f <= 8; ++f) EXPECT_EQ(b4[f], kSet1[f]);
    EXPECT_EQ(Differences(b4, plain), std::vector<int>{6});
  }
  EXPECT_EQ(BuildActiveSet(4)[37], 0);  // bit 3 alone decides
  EXPECT_EQ(BuildActiveSet(31)[0], 3);
  EXPECT_EQ(BuildActiveSet(0xFFFFFFE4)[10], 180);  // only bits 0-4 count
}

TEST(ControllerOptionsText, ParsesFourHexFieldsIntoWord3) {
  ControllerOptions o;
  o.set("A,B,C,1D");
  EXPECT_FALSE(o.changed);
  EXPECT_EQ(o.word[0], 0u);
  EXPECT_EQ(o.word[3], 0x1Du);
  o.set("1,2,3");
  EXPECT_TRUE(o.changed);
  EXPECT_EQ(o.word[3], 0u);
  char buffer[16];
  EXPECT_EQ(o.get(sizeof buffer, buffer), 7);
  EXPECT_STREQ(buffer, "0,0,0,0");
  EXPECT_FALSE(o.changed);
}

}  // namespace
}  // namespace qv4234
