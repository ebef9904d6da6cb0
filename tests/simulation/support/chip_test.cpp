#include "chip_test.h"

#include <platform/messages.h>

#include <cstdio>
#include <cstdlib>

#include "temp_dir.h"

namespace k42test {

void ChipTest::bindChip(const char* name, const std::string& folder, bool reset) {
  ASSERT_EQ(Stdk::Get().SetController(name, 0, folder.c_str()), 0);
  r[k42::kTraceLast] = 8191;
  if (reset) program({JMP(0)});
}

void ChipTest::program(const std::vector<uint16_t>& words) {
  r.load(words);
  r.load({LDR(0), STA(127), JMP(kReadRoutine + 2)}, kReadRoutine);
  r.reset();
}

void ChipTest::programFromSource(const std::string& source) {
  testsupport::TempDir folder;
  folder.write("road.asm", source);
  const std::string command = "cd '" + folder.path() + "' && TAVIX_LINK_DIR='" + folder.path() + "link' '" +
                              TAVIX_DIST_DIR + "K42xxasm' /D/sroad >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << folder.read("road.err");
  const std::string image = folder.read("road.bin");
  ASSERT_FALSE(image.empty());
  r.loadImage(image);
  r.load({LDR(0), STA(127), JMP(kReadRoutine + 2)}, kReadRoutine);
  r.reset();
}

std::string ChipTest::WholeRoadSource(int reg, int value) {
  char head[64];
  std::snprintf(head, sizeof head, "PERIPH  EQU %d\r\nVALUE   EQU %d\r\n", reg, value);
  return std::string(head) +
         "START:  LDI 7\r\n"
         "        STA 20H\r\n"
         "        ADD 20H\r\n"
         "        STA 21H\r\n"
         "        CALL BUMP\r\n"
         "        LDI VALUE\r\n"
         "        STA PERIPH\r\n"
         "        LDR PERIPH\r\n"
         "        STA 22H\r\n"
         "DONE:   JMP DONE\r\n"
         "BUMP:   INC 21H\r\n"
         "        STA 21H\r\n"
         "        RET\r\n";
}

void ChipTest::runWholeRoad(int reg, int value) {
  programFromSource(WholeRoadSource(reg, value));
  step(13);
  EXPECT_EQ(r.pc(), 9);  // DONE
  EXPECT_EQ(r[k42::kStackLevel], 0);
  EXPECT_EQ(r.reg(0x20), 7);
  EXPECT_EQ(r.reg(0x21), 15);
  EXPECT_EQ(r.reg(0x22), value);
  EXPECT_EQ(r.reg(reg), value);
}

void ChipTest::step(int n) {
  for (int i = 0; i < n; ++i) r.execute(k42::kRunModeStep);
}

int ChipTest::read(int n) {
  const int32_t level = r[k42::kStackLevel];
  const int32_t pc = r.pc();
  r.program[kReadRoutine].instr = LDR(n);
  r[k42::kPcStack + level] = kReadRoutine;
  step(2);
  r[k42::kPcStack + level] = pc;
  return r.reg(127);
}

int32_t ChipTest::runRounds(uint64_t rounds) {
  platform::RunPump::SetScriptAtRound(rounds - 1, [] { Stdk::Get().Instruction_Break(k42::kStopStep); });
  const int32_t result = r.execute(k42::kRunModeRun);
  platform::RunPump::SetScript({});
  return result;
}

void ChipTest::startMarkedLoop(void (*preset)(Records&)) {
  program({JMP(4), NOP, NOP, NOP, LDI(5), STA(10), JMP(6)});
  r.registers[10].value = 0x70;  // compare value 7
  r.registers[10].flags = 0x12;
  if (preset != nullptr) preset(r);
  step(3);  // JMP 4, LDI 5, STA 10
  ticks = 3;
  ASSERT_EQ(r.reg(10), 5);
  write(50, 15);
}

void ChipTest::stepTo(int tick) {
  step(tick - ticks);
  ticks = tick;
}

}  // namespace k42test
