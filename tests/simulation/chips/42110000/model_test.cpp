// QV4111's timer at its terminal value, the interrupt rule of the ports, the
// watchdog at its exact pass, and what the resets keep.

#include <utility>

#include "qv4111_test.h"

namespace qv4111test {
namespace {

using Timer = Qv4111;

TEST_F(Timer, CountsDownFromTheReloadAndRequestsAtZero) {
  write(kBuzzerTimer, 8);       // timer enabled
  write(kTimerControl, 8 | 1);  // 2048 Hz (every 8th pass), autoreload
  write(kPrescaler, 8);         // timer request enabled
  write(kTimerHigh, 0);
  write(kTimerLow, 3);
  EXPECT_EQ(r.reg(kTimerLow), 3);
  step(23);  // counts 2 and 1
  EXPECT_EQ(r.reg(kTimerLow), 1);
  EXPECT_EQ(r.reg(kRequests), 0);
  step(1);  // 0: reloaded at once, so the count never reads 0
  EXPECT_EQ(r.reg(kTimerLow), 3);
  EXPECT_EQ(r.reg(kRequests), 4);
  write(kInterruptControl, 1);
  EXPECT_EQ(r.execute(k42::kRunModeStep), k42::kStopStep);
  EXPECT_EQ(r[k42::kStackLevel], 1);
  EXPECT_EQ(r.pc(), 1);
  // Without autoreload it stops at 0.
  write(kTimerControl, 1);
  step(7 + 8 + 8);
  EXPECT_EQ(r.reg(kTimerLow), 0);
  step(8);
  EXPECT_EQ(r.reg(kTimerLow), 0);
  EXPECT_EQ(r.reg(kTimerHigh), 0);
}

TEST_F(Timer, ZeroReloadTimerDisableAndResetStopIt) {
  write(kBuzzerTimer, 8);
  write(kTimerControl, 8 | 1);
  write(kTimerLow, 0);  // reload 0: stopped, autoreload cleared
  EXPECT_EQ(r.reg(kTimerControl), 1);
  write(kTimerHigh, 1);
  write(kTimerLow, 0);  // reload 0x10 starts
  step(8);
  EXPECT_EQ(r.reg(kTimerLow), 15);
  EXPECT_EQ(r.reg(kTimerHigh), 0);
  write(kBuzzerTimer, 0);  // disabling stops it
  step(16);
  EXPECT_EQ(r.reg(kTimerLow), 15);
  write(kBuzzerTimer, 8);
  write(kTimerLow, 2);
  r.reset();  // the reset stops the timer: enabling it again does not count
  write(kBuzzerTimer, 8);
  write(kTimerControl, 1);
  step(16);
  EXPECT_EQ(r.reg(kTimerLow), 0);
  EXPECT_EQ(r.reg(kTimerHigh), 0);
}

using Interrupts = Qv4111;

// 124 bit 0 set: a pending port A request alone does not interrupt, ports A
// and C together do; clear: either does. The timer and prescaler requests
// need no port.
TEST_F(Interrupts, PortRuleOfRegister124) {
  struct Case {
    int rule, portA, portC, summary;
    bool taken;
  };
  const Case cases[] = {{1, 1, 0, 0, false}, {1, 1, 2, 0, true}, {0, 1, 0, 0, true},
                        {0, 0, 2, 0, true},  {1, 0, 0, 4, true}, {1, 0, 0, 8, true}};
  for (const Case& k : cases) {
    program({JMP(0)});
    write(kInterruptControl, 1);
    write(kPortControl, k.rule);
    r.registers[kPortARequests].value |= k.portA;  // as a sampling leaves it
    write(kPortCRequests, k.portC);
    r.registers[kRequests].value |= k.summary;
    step(1);
    EXPECT_EQ(r[k42::kInInterrupt] == 1, k.taken) << k.rule << k.portA << k.portC << k.summary;
  }
  // Reading 112 clears the timer and prescaler requests, not the ports'.
  r.registers[kRequests].value |= 15;
  EXPECT_EQ(read(kRequests), 15);
  EXPECT_EQ(r.reg(kRequests), 3);
}

class Watchdog : public Qv4111 {
 protected:
  void SetUp() override {
    Qv4111::SetUp();
    startMarkedLoop();
  }
};

TEST_F(Watchdog, ResetsAtTheThirdOneHzStep) {
  stepTo(3 * kOneSecond - 1);
  ASSERT_FALSE(wasReset());
  stepTo(3 * kOneSecond);
  ASSERT_TRUE(wasReset());
  EXPECT_EQ(r.pc(), 4);                    // restarted at 0 in that pass
  EXPECT_EQ(r.registers[10].value, 0x70);  // value cleared, compare value kept
  EXPECT_EQ(r.registers[10].flags, 0x12);
  EXPECT_EQ(r.reg(kSerialData), 15);
}

// 99 bit 0 holds it at 0; a restart of the chain (125 bit 2) moves the next
// 1 Hz step a whole second on, and the watchdog keeps its count.
TEST_F(Watchdog, HoldAndRestart) {
  write(kWatchdogEdge, 1);
  stepTo(4 * kOneSecond);
  EXPECT_FALSE(wasReset());
  write(kWatchdogEdge, 0);  // steps at 5 s and 6 s count 1 and 2
  stepTo(7 * kOneSecond - 100);
  write(kPrescaler, 4);
  EXPECT_EQ(r.reg(kPrescaler), 0);  // bit 2 is not kept
  stepTo(8 * kOneSecond - 101);
  EXPECT_FALSE(wasReset());
  stepTo(8 * kOneSecond - 100);
  EXPECT_TRUE(wasReset());
}

using Resets = Qv4111;

// The value nibbles become 0 and 105 15; compare nibbles and flags, the
// monitor's data breakpoints, stay. Every box is redrawn.
TEST_F(Resets, PowerOnWritesValueBitsOnly) {
  r.registers[kSerialData].value = 0x3A;
  r.registers[kSerialData].flags = 0x12;
  r.registers[20].value = 0x57;
  r.registers[126].value = 0x6F;
  Redraws posted;
  RecordRedraws(&posted);
  r.reset();
  RecordRedraws(nullptr);
  EXPECT_EQ(posted, (std::vector<std::pair<int, intptr_t>>{
                        {0, 255}, {1, 255}, {2, 255}, {3, 255}, {4, 255}, {5, 255}, {6, 255}}));
  EXPECT_EQ(r.registers[kSerialData].value, 0x3F);
  EXPECT_EQ(r.registers[kSerialData].flags, 0x12);
  EXPECT_EQ(r.registers[20].value, 0x50);
  EXPECT_EQ(r.registers[126].value, 0x60);
}

TEST(ShippedIni, BindsTheThreeChipsByName) {
  for (const char* name : {"QV4111", "QV4112", "QV4114"})
    EXPECT_EQ(Stdk::Get().SetController(name, 0, TAVIX_DIST_DIR), 0) << name;
}

TEST_F(Qv4111, AnAssembledSourceRunsInTheModule) { runWholeRoad(kPortAEnables, 5); }

}  // namespace
}  // namespace qv4111test
