// The serial write buffer: the manual transfer fed from its own interrupt,
// the automatic transfer in external mode with ClkSup, the size formula and
// the sent text's restarts and overflow. The sent text is read in the window.
#include "qv4131_client.h"

namespace qv4131test {
namespace {

using Swb = Qv4131Window;

constexpr int kSentText = 1138, kClockText = 1139, kSizeText = 1142, kClkSupText = 1147;

TEST_F(Swb, ManualTransferTakesEachNibbleWhenTheLastIsDoneAndRequestsAnInterrupt) {
  // 0: start  1: the interrupt routine  2: clock at every tick, data A,
  // manual start  8: wait  9: data B, wait until it is taken, data C.
  program({JMP(2), JMP(9), LDI(3), STA(kSwbClock), LDI(0xA), STA(kSwbData), LDI(4),
           STA(kSwbControl), JMP(8), LDI(0xB), STA(kSwbData), JPV3(13), JMP(11), LDI(0xC),
           STA(kSwbData), JMP(15)});
  step(7);  // STA 92 in pass 7
  EXPECT_EQ(r.reg(kSwbControl), 4);
  step(1);  // A taken: its request enters with 104 bit 3 clear
  EXPECT_EQ(r.pc(), 1);
  EXPECT_EQ(r[k42::kInInterrupt], 1);
  EXPECT_EQ(r.reg(kInterruptControl), 0);
  EXPECT_EQ(r[k42::kCond3], 1);
  step(23);
  EXPECT_EQ(r.reg(kSwbControl), 4);
  flush();
  EXPECT_EQ(text(kSentText), "AB");
  step(1);  // pass 32: C is done and no data is new
  EXPECT_EQ(r.reg(kSwbControl), 0);
  flush();
  EXPECT_EQ(text(kSentText), "ABC");
  EXPECT_EQ(text(kClockText), "150000Hz");
}

TEST_F(Swb, AutomaticTransferInExternalModeSuppressesClkSupPulsesOfTheLastNibble) {
  program({LDI(8), STA(kSwbClock),        // external, selection 0
           LDI(3), STA(kPortCDirection),  // PC0, PC1 outputs
           LDI(1), STA(kSwbSizeLow), LDI(5), STA(kSwbData), LDI(8), STA(kSwbControl), LDI(1),
           STA(kSwbSupplement), HALT, JMP(13)});
  write(0, 0xF);
  step(13);  // HALT in pass 13
  ASSERT_EQ(r[k42::kHalted], 1);
  int pulses = 0, previous = 0;
  for (int i = 0; i < 17; ++i) {  // 16 half steps; port C is sampled at each pass's start
    step(1);
    const int levels = r.reg(kPortC);
    pulses += (levels & 1) && !(previous & 1);
    previous = levels;
  }
  EXPECT_EQ(pulses, 7);  // four of 5, then three of F
  EXPECT_EQ(r[k42::kHalted], 0);
  EXPECT_EQ(r.pc(), 13);
  EXPECT_EQ(r.reg(kInterruptControl), 8);
  EXPECT_EQ(r.reg(kSwbControl), 0);
  EXPECT_EQ(r.reg(kSwbData), 0xF);  // RAM 0, loaded after the first nibble
  EXPECT_EQ(r[k42::kCond3], 1);
  flush();
  EXPECT_EQ(text(kSentText), "57");  // F masked to three bits
  EXPECT_EQ(text(kClockText), "Ext/1");
  write(kSwbSupplement, 4 | 2);
  flush();
  EXPECT_EQ(text(kClockText), "Ext/4");
  EXPECT_EQ(text(kClkSupText), "2");
}

TEST_F(Swb, ControlBitsZeroToOneAddSixteenTimesThemPlusTwo) {
  write(kSwbSizeLow, 5);
  write(kSwbControl, 1);
  flush();
  EXPECT_EQ(text(kSizeText), "23");
  write(kSwbControl, 3);
  flush();
  EXPECT_EQ(text(kSizeText), "57");  // 48 + 7 + 2
}

TEST_F(Swb, OverflowStopsOneRunAndHoldsTheTextUntilItIsEmptied) {
  // The interrupt routine feeds 7 whenever the buffer is ready, for ever.
  program({JMP(2), JMP(9), LDI(3), STA(kSwbClock), LDI(0xA), STA(kSwbData), LDI(4),
           STA(kSwbControl), JMP(8), JPV3(11), JMP(9), LDI(7), STA(kSwbData), JMP(9)});
  // Digit k is appended in pass 8 + 8k.
  EXPECT_EQ(runRounds(8 + 8 * 498), k42::kStopStep);
  flush();
  EXPECT_EQ(text(kSentText), "A" + std::string(497, '7'));
  step(8);
  flush();
  EXPECT_EQ(text(kSentText), "...");
  step(8);
  flush();
  EXPECT_EQ(text(kSentText), "...7");
  EXPECT_EQ(runRounds(60000), k42::kStopError);  // at digit 5955
  flush();
  EXPECT_EQ(text(kSentText), "??????????????");
  EXPECT_EQ(runRounds(1000), k42::kStopStep);  // reported once
  flush();
  EXPECT_EQ(text(kSentText), "??????????????");
  write(kSwbControl, 4);
  flush();
  EXPECT_EQ(text(kSentText), "");
}

}  // namespace
}  // namespace qv4131test
