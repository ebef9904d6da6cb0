// QV4111's serial output on PD0 (clock) and PD1 (data): a started nibble
// goes out twice unless it is written again in time, and the automatic
// transfer ends with a direct interrupt entry, which a full stack refuses.
#include "qv4111_test.h"

namespace qv4111test {
namespace {

class Serial : public Qv4111 {
 protected:
  // Port D output, serial mode on the pass clock (one bit per pass: the
  // loop's half step rises, the tick's falls).
  void startOnPassClock(int data) {
    write(kPortControl, 4);
    write(kSerialClock, 8 | 3);
    write(kSerialData, data);
    write(kSerialControl, 4);
  }
  // The data line after each of the next `passes` passes (port D is sampled
  // at the start of the call after).
  // `rewriteAt`: before that pass, 105 := `rewrite`.
  std::string dataBits(int passes, int rewriteAt = -1, int rewrite = 0) {
    std::string bits;
    step(1);
    for (int i = 0; i < passes; ++i) {
      if (i == rewriteAt) write(kSerialData, rewrite);
      step(1);
      bits += (r.reg(kPortD) & 2) ? '1' : '0';
    }
    return bits;
  }
};

TEST_F(Serial, ANibbleWrittenOnceGoesOutTwice) {
  startOnPassClock(0xA);
  EXPECT_EQ(dataBits(8), "01010101");   // bit 0 first, twice
  EXPECT_EQ(r.reg(kSerialControl), 0);  // stopped after the second nibble
}

TEST_F(Serial, ANibbleWrittenAgainReplacesTheRepeat) {
  startOnPassClock(0xA);
  EXPECT_EQ(dataBits(8, 1, 0x5), "01011010");
}

// 0: port D output, serial mode, size 0, first nibble 6, automatic, HALT.
const std::vector<uint16_t> kAutomatic = {LDI(4), STA(kPortControl),   LDI(8), STA(kSerialClock),
                                          LDI(0), STA(kSerialSizeLow), LDI(6), STA(kSerialData),
                                          LDI(8), STA(kSerialControl), HALT,   JMP(11)};

TEST_F(Serial, AutomaticTransferEndsWithADirectInterruptEntry) {
  program(kAutomatic);
  step(11);
  ASSERT_EQ(r[k42::kHalted], 1);
  // Two nibbles (6, then RAM 0), a half period per pass; interrupts are off.
  step(15);
  EXPECT_EQ(r[k42::kHalted], 1);
  EXPECT_EQ(r[k42::kStackLevel], 0);
  step(1);
  EXPECT_EQ(r[k42::kHalted], 0);
  EXPECT_EQ(r[k42::kStackLevel], 1);
  EXPECT_EQ(r[k42::kInInterrupt], 1);
  EXPECT_EQ(r.pc(), 1);
  EXPECT_EQ(r.reg(kSerialControl), 0);
}

TEST_F(Serial, DirectEntryWithAFullStackStopsTheRun) {
  std::vector<uint16_t> code(64, NOP);
  code[0] = CALL(40);
  code[40] = CALL(50);
  for (size_t i = 0; i < kAutomatic.size() - 1; ++i) code[50 + i] = kAutomatic[i];
  program(code);
  step(13);
  ASSERT_EQ(r[k42::kHalted], 1);
  ASSERT_EQ(r[k42::kStackLevel], 2);
  MessageLog log;
  step(15);
  EXPECT_TRUE(log.boxes().empty());
  EXPECT_EQ(r.execute(k42::kRunModeStep), k42::kStopError);
  ASSERT_EQ(log.boxes().size(), 1u);
  EXPECT_EQ(log.boxes()[0].text, "Stack Overflow\nInterrupt generated and stack full");
  EXPECT_EQ(log.boxes()[0].title, "VICE ERROR");
  EXPECT_EQ(r[k42::kStackLevel], 2);
}

}  // namespace
}  // namespace qv4111test
