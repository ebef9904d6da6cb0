// Port A: pin levels into 80 and 96, the jump conditions, the pin interrupts
// and their sources, outputs and pin functions, frequency output, prescaler
// interrupts, the serial interface and the pin-level reset.
#include "qv4234_client.h"

namespace qv4234test {
namespace {

using Port = Qv4234;

TEST_F(Port, LevelsReachTheRegistersAndTheJumpConditions) {
  click(kPinButton + 3);
  click(kPinButton + 5);
  EXPECT_EQ(r.reg(80), 8);
  EXPECT_EQ(r.reg(96) & 3, 2);
  EXPECT_EQ(r[k42::kCond1], 0);
  EXPECT_EQ(r[k42::kCond2], 1);
  write(83, 1);  // pin interrupt 0 from PA5
  step(1);       // sampled at the start of the run
  EXPECT_EQ(r[k42::kCond1], 1);
}

TEST_F(Port, PinInterruptsOnTheSelectedEdgeAndSource) {
  write(101, 3);
  write(82, 1);       // interrupt 0 on a falling edge
  click(kPinButton);  // PA0 rising: nothing
  EXPECT_EQ(r.reg(103), 0);
  click(kPinButton);  // falling
  EXPECT_EQ(r.reg(103), 1);
  write(82, 0);       // a write of 82 clears the requests
  EXPECT_EQ(r.reg(103), 0);
  write(83, 2);       // interrupt 1 from PA4
  click(kPinButton + 3);
  EXPECT_EQ(r.reg(103), 0);
  click(kPinButton + 4);
  EXPECT_EQ(r.reg(103), 2);
}

TEST_F(Port, OutputsTakeTheLatchAndDrivenPinsIgnoreClicks) {
  write(98, 0);  // PA2 without a function (power-on gives it "POR")
  write(81, 0x5);
  write(80, 0xF);
  EXPECT_EQ(r.reg(80), 0x5);
  click(kPinButton);
  EXPECT_EQ(r.reg(80), 0x5);
  EXPECT_EQ(text(kPinButton), "NC");
  click(kPinButton + 1);  // an input
  EXPECT_EQ(r.reg(80), 0x7);
  write(96, 4 | 2);       // PA5 an output, latch high
  EXPECT_EQ(r.reg(96) & 3, 2);
}

TEST_F(Port, FrequencyOutputTogglesAtItsTap) {
  write(81, 4);
  write(98, 1);  // PA2 "Freq"
  write(86, 1);  // tap 1: 2 kHz
  runRounds(7);
  EXPECT_EQ(r.reg(80) & 4, 0);
  runRounds(1);
  EXPECT_EQ(r.reg(80) & 4, 4);
  runRounds(8);
  EXPECT_EQ(r.reg(80) & 4, 0);
}

TEST_F(Port, PrescalerInterruptsAt8HzOr64HzAndOneHertz) {
  write(102, 4 | 8);
  runRounds(2047);
  EXPECT_EQ(r.reg(104), 0);
  runRounds(1);
  EXPECT_EQ(r.reg(104), 4);
  write(104, 4);
  write(108, 2);  // 64 Hz
  runRounds(256);
  EXPECT_EQ(r.reg(104), 4);
  write(104, 4);
  write(102, 8);
  runRounds(16384 - 2048 - 256);
  EXPECT_EQ(r.reg(104), 8);
}

TEST_F(Port, SerialTransferShiftsEightBitsAndRaisesItsRequest) {
  write(102, 1);
  write(81, 4);
  write(98, 2);   // PA2 "Out": the data line, read back
  write(89, 0x5);
  write(90, 0xA);
  write(87, 8 | 1);  // tap 8, MSB first
  write(88, 8);
  EXPECT_EQ(r.reg(88), 8);
  runRounds(16);
  EXPECT_EQ(r.reg(88), 0);
  EXPECT_EQ(r.reg(104), 1);
  EXPECT_EQ(r.reg(89), 0x5);
  EXPECT_EQ(r.reg(90), 0xA);
}

TEST_F(Port, SerialInputFromAnInputDataPinLsbFirst) {
  write(102, 1);
  click(kPinButton + 2);  // PA2 an input, high
  write(87, 8);           // tap 8, LSB first
  write(88, 8);
  runRounds(16);
  EXPECT_EQ(r.reg(104), 1);
  EXPECT_EQ(r.reg(89), 0xF);
  EXPECT_EQ(r.reg(90), 0xF);
}

TEST_F(Port, PinLevelResetWithRegister86) {
  write(120, 15);
  write(86, 4);  // only in sleep
  click(kPinButton + 3);
  EXPECT_EQ(r.reg(120), 15);
  write(86, 4 | 8);  // also outside sleep: PA3 is high
  step(1);
  EXPECT_EQ(r.reg(120), 0);
}

}  // namespace
}  // namespace qv4234test
