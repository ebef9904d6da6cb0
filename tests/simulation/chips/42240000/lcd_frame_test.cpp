// The LCD family frame compiled over small chips of the module table: the
// delay text, the project path rule, the reset extras and variant 3's sleep.
#include <gtest/gtest.h>
#include <simcore/lcd/lcd_chip.h>

#include <platform/messagebox.h>

#include <QWidget>

#include <filesystem>

#include "instruction_words.h"
#include "temp_dir.h"

namespace {

using namespace simcore::lcd;

TEST(LcdFrame, DelayTextIsOneToThreeDecimalDigits) {
  EXPECT_EQ(ParseDelay(""), 0);
  EXPECT_EQ(ParseDelay("0"), 0);
  EXPECT_EQ(ParseDelay("10"), 10);
  EXPECT_EQ(ParseDelay("999"), 999);
  EXPECT_EQ(ParseDelay("1000"), 0);
  EXPECT_EQ(ParseDelay("1a"), 0);
  EXPECT_EQ(ParseDelay("-5"), 0);
  EXPECT_EQ(ParseDelay(" 5"), 0);
}

TEST(LcdFrame, ProjectPathFromTheCaption) {
  testsupport::TempDir dir;
  std::filesystem::create_directories(dir.file("a.b/Proj"));
  dir.write("a.b/Proj/Demo.Cfg", "");
  EXPECT_EQ(LcdProjectPath("Tavix"), "");
  EXPECT_EQ(LcdProjectPath(""), "");
  EXPECT_EQ(LcdProjectPath("Tavix " + dir.file("A.B/PROJ/DEMO.PRJ")), dir.file("a.b/Proj/Demo.Cfg"));
  // No such file: the existing folder and the derived name.
  EXPECT_EQ(LcdProjectPath("Tavix " + dir.file("A.B/PROJ/OTHER.X.PRJ")), dir.file("a.b/Proj/OTHER.X.CFG"));
  EXPECT_EQ(LcdProjectPath("Tavix /NO/SUCH/P.PRJ"), "/NO/SUCH/P.CFG");
}

// A chip of the table with no periphery of its own.
template <size_t Row>
class SmallChip : public LcdChip<SmallChip<Row>> {
 public:
  static constexpr const LcdModule& kModule = simcore::lcd::kLcdModules[Row];
  static constexpr const char* kCaption = kModule.caption.data();
  static constexpr simcore::RegisterSet kPeriphery{};
  int32_t Periphery_Read(int32_t) { return 0; }
  void Periphery_Write(int32_t, int32_t) {}
  void Periphery_Tick() { ++ticks; }
  void Periphery_Reset() {}
  void SamplePorts() {}
  bool Periphery_TakeWatchdogReset() { return false; }
  static const platform::DialogTemplate& WindowTemplate() {
    static const platform::DialogTemplate t{"Curpos", 40, 20, nullptr, 8, {}};
    return t;
  }
  void Window_Redraw(int item, intptr_t parts) { redraws.push_back({item, parts}); }
  void Window_RedrawAll() {}
  int ticks = 0;
  std::vector<std::pair<int, intptr_t>> redraws;
};

constexpr size_t k4219 = &LcdModuleOf("42190000") - simcore::lcd::kLcdModules.data();
constexpr size_t k4217 = &LcdModuleOf("42170000") - simcore::lcd::kLcdModules.data();

struct Records {
  CpuState cpu{};
  std::vector<ProgramCell> program = std::vector<ProgramCell>(4096);
  std::vector<RegisterCell> registers = std::vector<RegisterCell>(128);
  std::vector<TraceEntry> trace = std::vector<TraceEntry>(8192);
};

TEST(LcdFrame, ClearRegistersExtraKeepsCompareValuesAnd108Bit3And114Bit0) {
  SmallChip<k4217> chip;
  Records r;
  for (auto& c : r.registers) c = RegisterCell{0x3F, 0x1F};
  chip.Instruction_Reset(&r.cpu, r.program.data(), r.registers.data(), r.trace.data());
  for (int n = 0; n < 128; ++n) {
    const int expected = n == 108 ? 8 : n == 114 ? 15 : n == 127 ? 15 : 0;
    EXPECT_EQ(r.registers[n].value, 0x30 | expected) << n;
    EXPECT_EQ(r.registers[n].flags, 0x1F) << n;
  }
  r.registers[114].value = 0x30;
  chip.Instruction_Reset(&r.cpu, r.program.data(), r.registers.data(), r.trace.data());
  EXPECT_EQ(r.registers[114].value, 0x3E);
}

TEST(LcdFrame, VariantThreeSleepsUntilABreakAndARunEndPostsItem8) {
  std::vector<std::string> boxes;
  platform::SetMessageBoxHook([&boxes](const std::string& text, const std::string&, unsigned) {
    boxes.push_back(text);
    return 1;
  });
  SmallChip<k4219> chip;
  QWidget host;
  chip.InitInterface(&host);
  host.show();
  Records r;
  r.program[0].instr = k42words::NOP;
  chip.Instruction_Reset(&r.cpu, r.program.data(), r.registers.data(), r.trace.data());
  r.registers[107].value = 4;
  r.registers[108].value = 4;
  platform::RunPump::SetScriptAtRound(5, [&chip] { chip.Instruction_Break(16); });
  EXPECT_EQ(chip.Instruction_Execute(&r.cpu, r.program.data(), r.registers.data(), r.trace.data(), 0), 16);
  platform::RunPump::SetScript({});
  EXPECT_EQ(chip.ticks, 0);
  EXPECT_EQ(r.cpu.word[k42::kPcStack], 0);
  chip.redraws.clear();
  while (platform::DispatchOneMessage()) {
  }
  EXPECT_EQ(chip.redraws, (std::vector<std::pair<int, intptr_t>>{{8, 1}}));
  // Awake: one periphery step per instruction; the register pointer is kept.
  r.registers[108].value = 0;
  EXPECT_EQ(chip.Instruction_Execute(&r.cpu, r.program.data(), r.registers.data(), r.trace.data(), 16), 16);
  EXPECT_EQ(chip.ticks, 1);
  EXPECT_EQ(r.cpu.word[k42::kPcStack], 1);
  chip.ModuleDetach();
  platform::SetMessageBoxHook({});
  EXPECT_EQ(boxes, std::vector<std::string>{"E0001 42190000.DLL\nUnable to find module\n42XX_LCD.DLL"});
}

}  // namespace
