// The QV4117 family's window: port control of the millisecond counter by PA3
// clicks, the millisecond box, the melody clock texts.
#include "qv4117_fixture.h"

namespace qv4117test {
namespace {

constexpr int kPa3 = 1038;

TEST_P(Family, Pa3StartsAndStopsOrTogglesTheCounter) {
  openWindow();
  r.reset();
  write(96, 14);  // port control, start and stop on opposite edges
  runFor(17);
  EXPECT_EQ(count(), 0);
  click(kPa3);    // rising: start
  runFor(17);
  EXPECT_EQ(count(), 1);
  drain();
  EXPECT_TRUE(lit(1111));
  EXPECT_FALSE(lit(1112));
  EXPECT_TRUE(lit(1114));
  click(kPa3);    // falling: stop
  runFor(34);
  EXPECT_EQ(count(), 1);
  write(97, 4);   // the falling edge starts
  click(kPa3);    // rising: stop (stopped already)
  click(kPa3);    // falling: start
  runFor(17);
  EXPECT_EQ(count(), 2);
  drain();
  EXPECT_FALSE(lit(1111));
  EXPECT_TRUE(lit(1112));
  write(96, 12);  // one edge toggles: the falling one
  click(kPa3);    // rising: nothing
  runFor(17);
  EXPECT_EQ(count(), 3);
  click(kPa3);    // falling: stop
  runFor(17);
  EXPECT_EQ(count(), 3);
  drain();
  EXPECT_FALSE(lit(1114));
  EXPECT_FALSE(lit(1111));
  EXPECT_FALSE(lit(1112));
}

TEST_P(Family, MillisecondBoxAndMelodyClockTexts) {
  openWindow();
  r.reset();
  write(96, 8);
  write(97, 2);
  write(89, 3);
  runFor(17 * 12);
  drain();
  EXPECT_EQ(text(1079), "012");
  EXPECT_EQ(text(1085), "1Sec IRQ");
  EXPECT_EQ(text(1074), "0.5");
  write(89, 0);
  drain();
  EXPECT_EQ(text(1074), "2");
}

}  // namespace
}  // namespace qv4117test
