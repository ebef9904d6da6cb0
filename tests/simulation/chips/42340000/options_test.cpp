// The controller options through STDK42XX: the four words, the changed flag
// and the text given back, the buffer length honoured, and what the options
// select in the running chip.
#include <cstring>

#include "qv4234_client.h"
#include "layout.h"

namespace qv4234test {
namespace {

class Options : public Qv4234 {
 protected:
  void SetUp() override {
    Qv4234::SetUp();
    ASSERT_EQ(get(), 7);  // the fixture's empty options text set the changed flag
  }
  int32_t set(const char* text) { return Stdk::Get().SetControllerOptions(text); }
  int32_t get(int32_t length = 255) {
    std::memset(buffer, '#', sizeof buffer);
    return Stdk::Get().GetControllerOptions(length, buffer);
  }
  bool untouched() const {
    for (char c : buffer)
      if (c != '#') return false;
    return true;
  }
  std::string words() { return text(1153) + " " + text(1154) + " " + text(1155) + " " + text(1156); }
  char buffer[255];
};

TEST_F(Options, ReadableTextKeepsOnlyWord3AndIsNotGivenBack) {
  ASSERT_EQ(set("1,2,3,4"), 0);
  EXPECT_EQ(get(), -1);
  EXPECT_TRUE(untouched());
  EXPECT_EQ(words(), "00 00 00 04");
  EXPECT_EQ(text(kSupplyLabel), "1.80 V");  // set 1
}

TEST_F(Options, EmptyOrMissingTextIsGivenBackOnceAsZeros) {
  for (const char* text : {"", static_cast<const char*>(nullptr), "1 ,2,3,4", "1,2,3", "x,1,2,3"}) {
    ASSERT_EQ(set(text), 0);
    EXPECT_EQ(get(), 7) << (text ? text : "null");
    EXPECT_STREQ(buffer, "0,0,0,0");
    EXPECT_EQ(get(), -1);
    EXPECT_EQ(words(), "00 00 00 00");
    EXPECT_EQ(Qv4234::text(kSupplyLabel), "3.60 V");  // set 0
  }
}

TEST_F(Options, FieldsParseAsHexWithBlanksAfterCommasAndTrailingText) {
  for (const char* text : {"1, 2, 3, 4", "0,0,0,4 and more", "0,0,0,0x4", " 0,0,0,0004", "0,0,0,FFFFFFFFFFFFFF04"}) {
    ASSERT_EQ(set(text), 0);
    EXPECT_EQ(get(), -1) << text;
  }
  set("0,0,0,1F");
  EXPECT_EQ(words(), "00 00 00 1f");
  set("0,0,0,FFFFFFFFFFFF");  // kept to 32 bits, then masked
  EXPECT_EQ(words(), "00 00 00 1f");
  set("0,0,0,-1");
  EXPECT_EQ(words(), "00 00 00 1f");
  set("0,0,0,35");
  EXPECT_EQ(words(), "00 00 00 15");
}

TEST_F(Options, ShortBufferGetsNothingAndTheFlagStays) {
  set(nullptr);
  EXPECT_EQ(get(7), -1);  // "0,0,0,0" and its terminator need 8
  EXPECT_TRUE(untouched());
  EXPECT_EQ(get(0), -1);
  EXPECT_EQ(get(8), 7);
  EXPECT_STREQ(buffer, "0,0,0,0");
}

TEST_F(Options, PowerOnThresholdIndexFollowsBit0) {
  set("0,0,0,0");
  r.reset();
  EXPECT_EQ(r.reg(qv4234::L.comparator.thresholdIndex.reg), 5);
  set("0,0,0,1");
  r.reset();
  EXPECT_EQ(r.reg(qv4234::L.comparator.thresholdIndex.reg), 9);
}

TEST_F(Options, Set1SupplyLevelsHoldBelow110AndFallBelow70) {
  set("0,0,0,4");
  program({LDI(5), STA(10), JMP(2)});
  setVoltage(kSupplySlider, 109, 180);
  step(3);
  EXPECT_EQ(r.pc(), 0);
  setVoltage(kSupplySlider, 110, 180);
  step(2);
  EXPECT_EQ(r.reg(10), 5);
  setVoltage(kSupplySlider, 70, 180);
  step(1);
  EXPECT_EQ(r.pc(), 2);
  setVoltage(kSupplySlider, 69, 180);
  step(1);
  EXPECT_EQ(r.pc(), 0);
}

TEST_F(Options, Bit3RestartsThePowerOnComparisonAtEveryPeripheryReset) {
  for (const char* options : {"0,0,0,0", "0,0,0,8"}) {
    set(options);
    program({JMP(0)});
    step(1);                              // up at 3.60 V
    setVoltage(kSupplySlider, 110, 360);  // between the set 0 levels 105 and 125: still up
    write(120, 15);
    runRounds(4 * 32768 - 1);             // the watchdog resets the periphery
    EXPECT_EQ(r.reg(120), 0);
    write(120, 15);
    step(1);
    // Restarted comparison: 110 is below the rise level, so the chip is held.
    EXPECT_EQ(r.reg(120), options[6] == '8' ? 0 : 15) << options;
  }
}

TEST_F(Options, SetBeforeTheWindowExistsIsShownWhenItOpens) {
  Stdk::Get().UnloadInterface(0);
  ASSERT_EQ(Stdk::Get().SetController("QV4234", 0, QV4234_PROGRAM_FOLDER), 0);
  set("0,0,0,4");
  QWidget host2;
  ASSERT_EQ(Stdk::Get().InitInterface(&host2), 0);
  dialog = host2.findChild<QWidget*>("Curpos");
  ASSERT_NE(dialog, nullptr);
  host2.show();
  EXPECT_EQ(text(kSupplyLabel), "1.80 V");
  EXPECT_EQ(words(), "00 00 00 04");
  Stdk::Get().UnloadInterface(0);
}

}  // namespace
}  // namespace qv4234test
