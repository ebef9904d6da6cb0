// The 300 kHz time base: one tick per pass through 19 halving stages that
// restart with every stage bit set, the clock outputs of port B, the
// prescaler requests and restart, and the watchdog's pass.
#include "qv4131_client.h"

namespace qv4131test {
namespace {

using TimeBase = Qv4131;

TEST_F(TimeBase, ClockOutputsToggleAtTheirStagesOnlyWhileOutputs) {
  write(kPortBDirection, 3);  // PB2 stays an input
  write(kClockOutputs, 7);
  // Port B is sampled at the start of each pass: sample k shows the levels
  // after k ticks. The first tick after the reset carries through every stage.
  std::vector<int> levels;
  auto sample = [&](int passes) {
    for (int k = 0; k < passes; ++k) {
      step(1);
      levels.push_back(r.reg(kPortB));
    }
  };
  sample(130);
  write(kPortBDirection, 7);  // PB2 output from tick 130
  sample(470);
  int last[3] = {-1, -1, -1};
  const int period[3] = {1, 8, 128};
  for (int k = 1; k < 600; ++k) {
    for (int p = 0; p < 3; ++p) {
      if ((((levels[k] ^ levels[k - 1]) >> p) & 1) == 0) continue;
      if (last[p] >= 0) {
        EXPECT_EQ(k - last[p], period[p]) << "PB" << p << " at tick " << k;
      }
      last[p] = k;
    }
  }
  EXPECT_EQ(levels[1], 3);  // PB0 and PB1 at the first tick
  EXPECT_EQ(last[1], 593);  // ticks 1, 9, ...: an unbroken 18.75 kHz square wave
  EXPECT_EQ(last[2], 513);  // ticks 257, 385, 513: 1172 Hz
  EXPECT_EQ(levels[257] & 4, 4);
}

TEST_F(TimeBase, TimerCountsEveryPassAndARestartFiresEveryTap) {
  write(kPrescalerEnables, 14);
  write(kTimerControl, 8 | 1);  // up at every tick: the change of direction makes 0 0x3FF
  write(kTimerRun, 8);
  step(1);  // the first tick after the reset: every tap
  EXPECT_EQ(read(kPrescalerRequests), 14);
  step(61);  // 4688 Hz: ticks 1 and 65
  EXPECT_EQ(r.reg(kPrescalerRequests), 0);
  step(1);
  EXPECT_EQ(r.reg(kPrescalerRequests), 2);
  EXPECT_EQ(r.reg(kTimerLow), 0);  // 0x3FF + 65 ticks
  EXPECT_EQ(r.reg(kTimerMiddle), 4);
  write(kPrescalerPwm, 4);  // restart: not stored
  EXPECT_EQ(r.reg(kPrescalerPwm), 0);
  write(kPrescalerRequests, 15);
  step(1);
  EXPECT_EQ(r.reg(kPrescalerRequests), 14);
}

TEST_F(TimeBase, WatchdogResetsInPass1048577AfterAReset) {
  startMarkedLoop();  // three passes after the reset
  EXPECT_EQ(runRounds(1048576 - 3), k42::kStopStep);
  EXPECT_FALSE(wasReset());
  step(1);
  EXPECT_TRUE(wasReset());
  EXPECT_EQ(r.pc(), 4);  // the restarted CPU ran JMP 4 in that pass
}

}  // namespace
}  // namespace qv4131test
