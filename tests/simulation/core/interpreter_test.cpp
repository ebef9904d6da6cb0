// The interpreter over the test chip compiled into the test: edge cases of
// the ALU, the jumps, the stack and the decode boundaries.
#include <gtest/gtest.h>

#include "encoding.h"
#include "target_client.h"
#include "test_chip.h"

using namespace k42test;
using k42::kAcc;

namespace {

struct Bench {
  testchip::TestChip chip;
  Records r;
  MessageLog log;
  Bench() { chip.Instruction_Reset(&r.cpu, r.program.data(), r.registers.data(), r.trace.data()); }
  int32_t step(uint16_t word) { return chip.Instruction_Step(word); }
  int32_t carry() { return r[k42::kInInterrupt] == 1 ? r[k42::kCarryInt] : r[k42::kCarry]; }
};

constexpr int kR = 5;  // the operand register of the table

struct AluCase {
  const char* name;
  uint16_t word;
  int a, c, reg;           // before
  int wantA, wantC, wantZ;  // after
};

const AluCase kAluCases[] = {
    {"SUB 3-5", SUB(kR), 5, 0, 3, 14, 0, 0},
    {"SUB 5-3", SUB(kR), 3, 0, 5, 2, 1, 0},
    {"DEC 0", DEC(kR), 0, 1, 0, 15, 0, 0},
    {"DEC 1", DEC(kR), 7, 0, 1, 0, 1, 1},
    {"INC 15", INC(kR), 3, 0, 15, 0, 1, 1},
    {"INCS 15", Op("INCS", kR), 3, 0, 15, 8, 0, 0},
    {"ADD 9+8", ADD(kR), 9, 0, 8, 1, 1, 0},
    {"ADDS 9+8", Op("ADDS", kR), 9, 0, 8, 8, 1, 0},
    {"ANDS to 5", Op("ANDS", kR), 7, 1, 13, 2, 1, 0},
    {"SHL 9", Op("SHL", kR), 0, 0, 9, 2, 1, 0},
    {"NOR", Op("NOR", kR), 5, 1, 8, 2, 0, 0},
    {"NORS", Op("NORS", kR), 5, 1, 8, 1, 0, 0},
    {"CPLR", Op("CPLR", kR), 0, 1, 10, 5, 0, 0},
    {"XOR", Op("XOR", kR), 12, 1, 10, 6, 0, 0},
    {"NAND", Op("NAND", kR), 12, 0, 10, 7, 0, 0},
    {"NXOR", Op("NXOR", kR), 12, 0, 10, 9, 0, 0},
    {"LDR", LDR(kR), 0, 1, 9, 9, 0, 0},
    {"SHRR", Op("SHRR", kR), 0, 0, 9, 4, 1, 0},
    {"OR", Op("OR", kR), 1, 1, 8, 9, 0, 0},
    {"SUBS rotates carry in", Op("SUBS", kR), 3, 0, 5, 9, 0, 0},
    {"CPLA", CPLA, 5, 1, 0, 10, 0, 0},
    {"CPLAS", CPLAS, 5, 0, 0, 5, 0, 0},
    {"SHRA", SHRA, 7, 0, 0, 3, 1, 0},
    {"LDI", LDI(0), 9, 1, 0, 0, 0, 1},
};

}  // namespace

TEST(Interpreter, AluEdgeCases) {
  for (const AluCase& t : kAluCases) {
    Bench b;
    b.r[kAcc] = t.a;
    b.r[k42::kCarry] = t.c;
    b.r.registers[kR].value = t.reg | 0x30;  // a compare value that must not leak in
    ASSERT_EQ(b.step(t.word), 0) << t.name;
    EXPECT_EQ(b.r[kAcc], t.wantA) << t.name;
    EXPECT_EQ(b.r[k42::kCarry], t.wantC) << t.name;
    EXPECT_EQ(b.r[k42::kZero], t.wantZ) << t.name;
    EXPECT_EQ(b.r.registers[kR].value, t.reg | 0x30) << t.name << " writes no register";
  }
}

TEST(Interpreter, IndirectFormsUseTheIndexRegister) {
  Bench b;
  b.r[k42::kIndex] = 0x45;
  b.r.registers[0x45].value = 6;
  b.r[kAcc] = 3;
  ASSERT_EQ(b.step(Op("ADDX")), 0);
  EXPECT_EQ(b.r[kAcc], 9);
  ASSERT_EQ(b.step(Op("LDRXS")), 0);  // 6 shifted: 3, carry 0
  EXPECT_EQ(b.r[kAcc], 3);
  ASSERT_EQ(b.step(STIX(11)), 0);
  EXPECT_EQ(b.r.reg(0x45), 11);
  b.r[kAcc] = 4;
  ASSERT_EQ(b.step(STAX), 0);
  EXPECT_EQ(b.r.reg(0x45), 4);
  // An index above 127 (as the monitor may write it) wraps to 7 bits.
  b.r[k42::kIndex] = 0xC5;
  ASSERT_EQ(b.step(STIX(2)), 0);
  EXPECT_EQ(b.r.reg(0x45), 2);
}

TEST(Interpreter, StoresKeepTheCompareNibbleAndTheAccumulator) {
  Bench b;
  b.r.registers[9].value = 0x70;
  b.r[kAcc] = 0xC;
  b.r[k42::kCarry] = 1;
  ASSERT_EQ(b.step(STA(9)), 0);
  EXPECT_EQ(b.r.registers[9].value, 0x7C);
  EXPECT_EQ(b.r[kAcc], 0xC);
  EXPECT_EQ(b.r[k42::kCarry], 1);
  ASSERT_EQ(b.step(STI(3, 9)), 0);
  EXPECT_EQ(b.r.registers[9].value, 0x73);
}

TEST(Interpreter, ConditionalJumpsTakenAndNotTaken) {
  struct JumpCase {
    uint16_t word;
    int word_;      // the CpuState word tested
    int takenWhen;  // its value that takes the jump
  };
  const JumpCase cases[] = {
      {JPV1(0x123), k42::kCond1, 1}, {JPV2(0x123), k42::kCond2, 1}, {JPV3(0x123), k42::kCond3, 1},
      {JPC(0x123), k42::kCarry, 1},  {JPNC(0x123), k42::kCarry, 0}, {JPZ(0x123), k42::kZero, 1},
      {JPNZ(0x123), k42::kZero, 0},
  };
  for (const JumpCase& t : cases) {
    for (int v : {0, 1}) {
      Bench b;
      b.r[k42::kPcStack] = 0x51;
      b.r[t.word_] = v;
      b.r[kAcc] = 1;  // Z after the jump: 0
      ASSERT_EQ(b.step(t.word), 0);
      EXPECT_EQ(b.r.pc(), v == t.takenWhen ? 0x123 : 0x51) << std::hex << t.word << " " << v;
      EXPECT_EQ(b.r[k42::kZero], 0);
    }
  }
  Bench b;
  ASSERT_EQ(b.step(JMP(0xFFF)), 0);
  EXPECT_EQ(b.r.pc(), 0xFFF);
}

TEST(Interpreter, InterruptContextUsesItsOwnCarry) {
  Bench b;
  b.r[k42::kInInterrupt] = 1;
  b.r[k42::kCarry] = 1;
  b.r[kAcc] = 9;
  b.r.registers[kR].value = 8;
  ASSERT_EQ(b.step(ADD(kR)), 0);
  EXPECT_EQ(b.r[k42::kCarryInt], 1);
  EXPECT_EQ(b.r[k42::kCarry], 1);
  b.r[k42::kCarry] = 0;
  ASSERT_EQ(b.step(JPC(0x40)), 0);  // tests word 7
  EXPECT_EQ(b.r.pc(), 0x40);
  ASSERT_EQ(b.step(LDI(3)), 0);
  EXPECT_EQ(b.r[k42::kCarryInt], 0);
}

TEST(Interpreter, StackLimitsAndErrors) {
  Bench b;
  b.r[k42::kPcStack] = 0x11;
  ASSERT_EQ(b.step(CALL(0x200)), 0);
  ASSERT_EQ(b.step(CALL(0x300)), 0);
  EXPECT_EQ(b.r[k42::kStackLevel], 2);
  EXPECT_EQ(b.r.pc(), 0x300);
  CpuState before = b.r.cpu;
  EXPECT_EQ(b.step(CALL(0x400)), -1);
  EXPECT_EQ(0, std::memcmp(&before, &b.r.cpu, sizeof before)) << "a failed CALL changes nothing";
  ASSERT_EQ(b.step(RET), 0);
  ASSERT_EQ(b.step(RET), 0);
  EXPECT_EQ(b.r.pc(), 0x11);
  EXPECT_EQ(b.step(RET), -1);
  // RET inside an interrupt keeps the interrupt context; RTI without one fails
  // and clears word 9.
  b.r[k42::kStackLevel] = 1;
  b.r[k42::kInInterrupt] = 1;
  ASSERT_EQ(b.step(RET), 0);
  EXPECT_EQ(b.r[k42::kInInterrupt], 1);
  EXPECT_EQ(b.step(RTI), -1);
  EXPECT_EQ(b.r[k42::kInInterrupt], 0);
  b.r[k42::kStackLevel] = 1;
  EXPECT_EQ(b.step(RTI), -1);
  b.r[k42::kInInterrupt] = 1;
  ASSERT_EQ(b.step(RTI), 0);
  EXPECT_EQ(b.r[k42::kStackLevel], 0);
  EXPECT_EQ(b.r[k42::kInInterrupt], 0);
  const std::vector<std::string> want{
      "Stack Overflow\nCALL instruction and stack full",
      "Stack Underflow\nRET without Corresponding CALL", "Stack Underflow\nRTI without interrupt",
      "Stack Underflow\nRTI without interrupt"};
  EXPECT_EQ(b.log.texts(), want);
  for (const auto& box : b.log.boxes()) EXPECT_EQ(box.title, "VICE ERROR");
}

TEST(Interpreter, DecodeBoundaries) {
  // Words that are no operation: only Z is refreshed.
  const uint16_t nops[] = {0x9F00, 0x9F05, 0x9FFF, 0x8680, 0x86FE, 0xBC80, 0xD080, 0xD0FE,
                           0x8000, 0x85FF, 0xF810, 0xF000, 0xFFFF, 0xAA7E, 0xB57E, 0xD100,
                           0xF0FF, 0xF1FF, 0xF27E, 0xF4FE, 0xFA7E, 0xB400};
  for (uint16_t w : nops) {
    Bench b;
    b.r[kAcc] = 0x10;  // low bits 0: Z becomes 1
    b.r[k42::kCarry] = 1;
    b.r[k42::kPcStack] = 7;
    Records before = b.r;
    ASSERT_EQ(b.step(w), 0) << std::hex << w;
    before[k42::kZero] = 1;
    EXPECT_EQ(0, std::memcmp(&before.cpu, &b.r.cpu, sizeof before.cpu)) << std::hex << w;
    for (int n = 0; n < 128; ++n) ASSERT_EQ(b.r.registers[n].value, 0) << std::hex << w;
  }
  Bench b;
  ASSERT_EQ(b.step(0xF80F), 0);  // LDI 15
  EXPECT_EQ(b.r[kAcc], 15);
  for (uint16_t w : {0xC380, 0xC3C1, 0xC3FF}) {  // the whole of 0xCn80..0xCnFF is STIX
    Bench s;
    s.r[k42::kIndex] = 20;
    ASSERT_EQ(s.step(w), 0);
    EXPECT_EQ(s.r.reg(20), 3) << std::hex << w;
  }
  ASSERT_EQ(b.step(HALT), 0);
  EXPECT_EQ(b.r[k42::kHalted], 1);
}

TEST(Interpreter, ReadsTheRegisterOnceThroughItsSideEffects) {
  Bench b;
  b.r.registers[testchip::TestChip::kRequest].value = 5;
  b.r[kAcc] = 2;
  ASSERT_EQ(b.step(ADD(testchip::TestChip::kRequest)), 0);
  EXPECT_EQ(b.r[kAcc], 7);
  EXPECT_EQ(b.chip.requestReads(), 1);
  EXPECT_EQ(b.r.reg(testchip::TestChip::kRequest), 0) << "clear on read";
  ASSERT_EQ(b.step(Op("SUBS", testchip::TestChip::kRequest)), 0);
  EXPECT_EQ(b.chip.requestReads(), 2);
}

// The three stack words after every step of nested calls, returns, an
// interrupt entry and RTI: each level change leaves the held counter in the
// level it leaves.
TEST(Interpreter, StackWordsAreExactAcrossLevelChanges) {
  Bench b;
  const std::vector<uint16_t> code = {JMP(0x10), NOP, RTI};
  for (size_t a = 0; a < code.size(); ++a) b.r.program[a].instr = code[a];
  const std::pair<int, uint16_t> at[] = {{0x10, CALL(0x20)}, {0x11, JMP(0x11)}, {0x20, NOP},
                                         {0x21, CALL(0x30)}, {0x22, RET},       {0x30, NOP},
                                         {0x31, RET}};
  for (const auto& [a, w] : at) b.r.program[a].instr = w;
  struct Want {
    int level, w3, w4, w5;
  };
  const auto step = [&b](const Want& want, const char* what) {
    EXPECT_EQ(b.chip.Instruction_Execute(&b.r.cpu, b.r.program.data(), b.r.registers.data(),
                                         b.r.trace.data(), k42::kRunModeStep),
              k42::kStopStep)
        << what;
    EXPECT_EQ(b.r[k42::kStackLevel], want.level) << what;
    EXPECT_EQ(b.r[k42::kPcStack], want.w3) << what;
    EXPECT_EQ(b.r[k42::kPcStack + 1], want.w4) << what;
    EXPECT_EQ(b.r[k42::kPcStack + 2], want.w5) << what;
  };
  step({0, 0x10, 0, 0}, "JMP");
  step({1, 0x11, 0x20, 0}, "CALL from level 0");
  step({1, 0x11, 0x21, 0}, "NOP");
  step({2, 0x11, 0x22, 0x30}, "CALL from level 1");
  step({2, 0x11, 0x22, 0x31}, "NOP");
  step({1, 0x11, 0x22, 0x32}, "RET from level 2");
  b.r.registers[testchip::TestChip::kEnable].value = 8;
  b.r.registers[testchip::TestChip::kRequest].value = 1;
  step({2, 0x11, 0x22, 1}, "interrupt entry (the step stops at the vector)");
  EXPECT_EQ(b.r[k42::kInInterrupt], 1);
  b.r.registers[testchip::TestChip::kRequest].value = 0;
  step({2, 0x11, 0x22, 2}, "NOP in the handler");
  step({1, 0x11, 0x22, 3}, "RTI");
  EXPECT_EQ(b.r[k42::kInInterrupt], 0);
  step({0, 0x11, 0x23, 3}, "RET from level 1");
}
