// Port A: pin levels into 80 and 96, the jump conditions, the pin interrupts
// and their sources, outputs and pin functions, frequency output, prescaler
// interrupts, the serial interface and the pin-level reset.
#include "qv4234_client.h"
#include "layout.h"

namespace qv4234test {
namespace {

using Port = Qv4234;

TEST_F(Port, LevelsReachTheRegistersAndTheJumpConditions) {
  click(kPinButton + 3);
  click(kPinButton + 5);
  EXPECT_EQ(r.reg(qv4234::L.ports.portA.reg), 8);
  EXPECT_EQ(r.reg(qv4234::L.ports.portA45.reg) & 3, 2);
  EXPECT_EQ(r[k42::kCond1], 0);
  EXPECT_EQ(r[k42::kCond2], 1);
  write(qv4234::L.ports.pinSelect.reg, 1);  // pin interrupt 0 from PA5
  step(1);       // sampled at the start of the run
  EXPECT_EQ(r[k42::kCond1], 1);
}

TEST_F(Port, PinInterruptsOnTheSelectedEdgeAndSource) {
  write(qv4234::L.irq.enables1.reg, 3);
  write(qv4234::L.ports.edges.reg, 1);       // interrupt 0 on a falling edge
  click(kPinButton);  // PA0 rising: nothing
  EXPECT_EQ(r.reg(qv4234::L.irq.requests1.reg), 0);
  click(kPinButton);  // falling
  EXPECT_EQ(r.reg(qv4234::L.irq.requests1.reg), 1);
  write(qv4234::L.ports.edges.reg, 0);       // a write of 82 clears the requests
  EXPECT_EQ(r.reg(qv4234::L.irq.requests1.reg), 0);
  write(qv4234::L.ports.pinSelect.reg, 2);       // interrupt 1 from PA4
  click(kPinButton + 3);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests1.reg), 0);
  click(kPinButton + 4);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests1.reg), 2);
}

TEST_F(Port, OutputsTakeTheLatchAndDrivenPinsIgnoreClicks) {
  write(qv4234::L.ports.functions2.reg, 0);  // PA2 without a function (power-on gives it "POR")
  write(qv4234::L.ports.directions.reg, 0x5);
  write(qv4234::L.ports.portA.reg, 0xF);
  EXPECT_EQ(r.reg(qv4234::L.ports.portA.reg), 0x5);
  click(kPinButton);
  EXPECT_EQ(r.reg(qv4234::L.ports.portA.reg), 0x5);
  EXPECT_EQ(text(kPinButton), "NC");
  click(kPinButton + 1);  // an input
  EXPECT_EQ(r.reg(qv4234::L.ports.portA.reg), 0x7);
  write(qv4234::L.ports.portA45.reg, 4 | 2);       // PA5 an output, latch high
  EXPECT_EQ(r.reg(qv4234::L.ports.portA45.reg) & 3, 2);
}

TEST_F(Port, FrequencyOutputTogglesAtItsTap) {
  write(qv4234::L.ports.directions.reg, 4);
  write(qv4234::L.ports.functions2.reg, 1);  // PA2 "Freq"
  write(qv4234::L.output.control.reg, 1);  // tap 1: 2 kHz
  runRounds(7);
  EXPECT_EQ(r.reg(qv4234::L.ports.portA.reg) & 4, 0);
  runRounds(1);
  EXPECT_EQ(r.reg(qv4234::L.ports.portA.reg) & 4, 4);
  runRounds(8);
  EXPECT_EQ(r.reg(qv4234::L.ports.portA.reg) & 4, 0);
}

TEST_F(Port, PrescalerInterruptsAt8HzOr64HzAndOneHertz) {
  write(qv4234::L.irq.enables2.reg, 4 | 8);
  runRounds(2047);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests2.reg), 0);
  runRounds(1);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests2.reg), 4);
  write(qv4234::L.irq.requests2.reg, 4);
  write(qv4234::L.control.prescaler.reg, 2);  // 64 Hz
  runRounds(256);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests2.reg), 4);
  write(qv4234::L.irq.requests2.reg, 4);
  write(qv4234::L.irq.enables2.reg, 8);
  runRounds(16384 - 2048 - 256);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests2.reg), 8);
}

TEST_F(Port, SerialTransferShiftsEightBitsAndRaisesItsRequest) {
  write(qv4234::L.irq.enables2.reg, 1);
  write(qv4234::L.ports.directions.reg, 4);
  write(qv4234::L.ports.functions2.reg, 2);   // PA2 "Out": the data line, read back
  write(qv4234::L.serial.low.reg, 0x5);
  write(qv4234::L.serial.high.reg, 0xA);
  write(qv4234::L.serial.mode.reg, 8 | 1);  // tap 8, MSB first
  write(qv4234::L.serial.control.reg, 8);
  EXPECT_EQ(r.reg(qv4234::L.serial.control.reg), 8);
  runRounds(16);
  EXPECT_EQ(r.reg(qv4234::L.serial.control.reg), 0);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests2.reg), 1);
  EXPECT_EQ(r.reg(qv4234::L.serial.low.reg), 0x5);
  EXPECT_EQ(r.reg(qv4234::L.serial.high.reg), 0xA);
}

TEST_F(Port, SerialInputFromAnInputDataPinLsbFirst) {
  write(qv4234::L.irq.enables2.reg, 1);
  click(kPinButton + 2);  // PA2 an input, high
  write(qv4234::L.serial.mode.reg, 8);           // tap 8, LSB first
  write(qv4234::L.serial.control.reg, 8);
  runRounds(16);
  EXPECT_EQ(r.reg(qv4234::L.irq.requests2.reg), 1);
  EXPECT_EQ(r.reg(qv4234::L.serial.low.reg), 0xF);
  EXPECT_EQ(r.reg(qv4234::L.serial.high.reg), 0xF);
}

TEST_F(Port, PinLevelResetWithRegister86) {
  write(120, 15);
  write(qv4234::L.output.control.reg, 4);  // only in sleep
  click(kPinButton + 3);
  EXPECT_EQ(r.reg(120), 15);
  write(qv4234::L.output.control.reg, 4 | 8);  // also outside sleep: PA3 is high
  step(1);
  EXPECT_EQ(r.reg(120), 0);
}

}  // namespace
}  // namespace qv4234test
