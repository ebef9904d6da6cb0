// Timer1 and Timer2 through the exports: requests in register 100, read and
// cleared by the program; start values, synchronous load; the prescaler
// requests and the readout in 85.
#include "qv4128_client.h"
#include "layout.h"

namespace qv4128test {
namespace {

class Timers : public Qv4128 {
 protected:
  void SetUp() override {
    Qv4128::SetUp();
    write(qv4128::L.system.mask.reg, 2);  // no interrupt is taken: the requests stay visible
  }
  int pending100() const { return r.reg(qv4128::L.irq.requests1.reg); }  // the cell, without clearing
};

TEST_F(Timers, Timer1StartOneInputZeroAutoReloadRequestsEvery32Ticks) {
  write(qv4128::L.irq.enables1.reg, 4);
  write(qv4128::L.timer1.control.reg, 4);  // 512 Hz, auto reload
  write(qv4128::L.timer1.start.reg, 1);
  step(31);
  EXPECT_EQ(pending100() & 4, 0);
  step(1);
  EXPECT_EQ(pending100() & 4, 4);
  EXPECT_EQ(read(qv4128::L.irq.requests1.reg), 4);  // read returns and clears it
  EXPECT_EQ(read(qv4128::L.irq.requests1.reg), 0);
  step(32 - 4 - 1);
  EXPECT_EQ(pending100() & 4, 0);
  step(1);
  EXPECT_EQ(pending100() & 4, 4);
}

TEST_F(Timers, StartValueZeroNeverRaisesTheRequest) {
  write(qv4128::L.irq.enables1.reg, 4);
  write(qv4128::L.timer1.control.reg, 4);
  write(qv4128::L.timer1.start.reg, 0);
  step(2000);
  EXPECT_EQ(pending100() & 4, 0);
}

TEST_F(Timers, WithoutAutoReloadTheTimerStopsAtZero) {
  write(qv4128::L.irq.enables1.reg, 4);
  write(qv4128::L.timer1.control.reg, 0);
  write(qv4128::L.timer1.start.reg, 2);
  step(64);
  EXPECT_EQ(read(qv4128::L.irq.requests1.reg), 4);
  step(500);
  EXPECT_EQ(pending100() & 4, 0);
}

TEST_F(Timers, RequestIsOnlyRaisedWhileEnabled) {
  write(qv4128::L.timer1.control.reg, 4);
  write(qv4128::L.timer1.start.reg, 1);
  step(100);
  EXPECT_EQ(pending100(), 0);
}

TEST_F(Timers, SynchronousTimer1LoadsAtTheNext64HzStep) {
  write(qv4128::L.irq.enables1.reg, 4);
  write(qv4128::L.timer1.control.reg, 8 | 4);  // synchronous, auto reload, 512 Hz
  write(qv4128::L.timer1.start.reg, 1);
  step(255);  // nothing loaded before the 64 Hz step at tick 256
  EXPECT_EQ(pending100() & 4, 0);
  step(32);   // tick 287
  EXPECT_EQ(pending100() & 4, 0);
  step(1);    // tick 288: 32 ticks after the load
  EXPECT_EQ(pending100() & 4, 4);
}

TEST_F(Timers, Timer2InputsAndItsRequestBit) {
  write(qv4128::L.irq.enables1.reg, 8);
  write(qv4128::L.timer2.control.reg, 3 | 4);  // 256 Hz: every 64 ticks
  write(qv4128::L.timer2.start.reg, 2);
  step(127);
  EXPECT_EQ(pending100() & 8, 0);
  step(1);
  EXPECT_EQ(pending100() & 8, 8);
  write(qv4128::L.irq.requests1.reg, 8);  // written 1 clears it
  EXPECT_EQ(pending100() & 8, 0);
  EXPECT_EQ(read(qv4128::L.timer2.control.reg), 7);
}

TEST_F(Timers, PrescalerRequestAt64Or32HzAndTheOneHzRequest) {
  write(qv4128::L.irq.enables1.reg, 2 | 1);
  step(255);
  EXPECT_EQ(pending100(), 0);
  step(1);
  EXPECT_EQ(pending100(), 2);
  write(qv4128::L.irq.requests1.reg, 15);
  write(qv4128::L.system.options.reg, 1);  // 32 Hz
  step(256);     // tick 512
  EXPECT_EQ(pending100(), 2);
  write(qv4128::L.irq.requests1.reg, 15);
  step(16384 - 512 - 1);
  EXPECT_EQ(pending100() & 1, 0);
  step(1);
  EXPECT_EQ(pending100() & 1, 1);
}

TEST_F(Timers, RequestsEnterTheInterruptUnlessMasked) {
  write(qv4128::L.system.mask.reg, 0);
  write(qv4128::L.irq.enables1.reg, 4);
  write(qv4128::L.timer1.control.reg, 4);
  write(qv4128::L.timer1.start.reg, 1);
  step(32);  // the request is raised in this round's tick and taken at once
  EXPECT_EQ(r[k42::kInInterrupt], 1);
  EXPECT_EQ(r.pc(), 1);
  EXPECT_EQ(r[k42::kStackLevel], 1);
}

TEST_F(Timers, ReadoutShowsStagesElevenToFourteenOrSevenToTen) {
  EXPECT_EQ(r.reg(qv4128::L.prescaler.readout.reg), 8);  // after reset: stage 14 = 1
  step(2048);               // stage 11 becomes 1
  EXPECT_EQ(r.reg(qv4128::L.prescaler.readout.reg), 9);
  write(qv4128::L.prescaler.select.reg, 8);             // stages 7-10: 2048 = stage 11 only, so 0
  EXPECT_EQ(r.reg(qv4128::L.prescaler.readout.reg), 0);
  EXPECT_EQ(r.reg(qv4128::L.prescaler.control.reg) & 0xC, 8);
  step(128);                // stage 7
  EXPECT_EQ(r.reg(qv4128::L.prescaler.readout.reg), 1);
  // Restart (67 bit 0 named and set): stages 9-13 to 0, stage 14 to 1.
  write(qv4128::L.prescaler.select.reg, 0);
  write(qv4128::L.prescaler.control.reg, 9);
  EXPECT_EQ(r.reg(qv4128::L.prescaler.readout.reg), 8);
  EXPECT_EQ(r.reg(qv4128::L.prescaler.control.reg) & 1, 0);
}

}  // namespace
}  // namespace qv4128test
