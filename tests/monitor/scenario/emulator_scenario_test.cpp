// The end-to-end debugging session on the simulated in-circuit emulator: the
// same fixture connected, loaded, marked and downloaded over the wire, run to
// a scripted halt at its breakpoint, and the device's state, cells and
// trace records shown by the views.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <algorithm>

#include "core/code_grid.h"
#include "core/view.h"
#include "debug/debug_forms.h"
#include "debug/iceview.h"
#include "debug/ramwin.h"
#include "debug/tracewin.h"
#include "debug/watchwin.h"
#include "emulator_fixture.h"
#include "ice_blocks.h"
#include "platform/controls.h"
#include "platform/grid_control.h"
#include "program_fixture.h"
#include "scenario_fixture.h"
#include "wait_until.h"

namespace {

using namespace monitor;
using namespace scenario;
using paneltest::Holds;
using paneltest::WriteBlock;
using testdevices::IceUnit;
using testdevices::SimulatedIce;

// The index register of the device's halt, and its data cells: the
// fixture's registers as the run leaves them, the index register's two
// cells, every other cell a pattern of its own.
constexpr int kDeviceIndex = 0x29;
uint32_t DeviceCell(int n) {
  switch (n) {
    case kCounter:
      return 3;
    case kSecond:
      return 6;
    case kResult:
      return 5;
    case 110:
      return kDeviceIndex & 15;
    case 111:
      return kDeviceIndex >> 4;
    default:
      return static_cast<uint32_t>(n * 7 + 1) & 15;
  }
}

// The device's trace records, as the golden file's columns give them (PC,
// accumulator, C D I); the unused high bits of the flag byte are set, as a
// device may leave them.
std::vector<IceUnit> DeviceTrace(const std::string& golden) {
  const std::vector<std::string> lines = Lines(golden);
  std::vector<IceUnit> units;
  for (int i = 0; i < kTracedRecords; ++i) {
    const std::string& line = lines.at(static_cast<size_t>(i));
    const int pc = std::stoi(line.substr(5, 3), nullptr, 16);
    const int acc = std::stoi(line.substr(9, 1), nullptr, 16);
    const int flags =
        (line[11] == '*' ? 1 : 0) | (line[13] == '*' ? 2 : 0) | (line[15] == '*' ? 4 : 0);
    units.push_back({SimulatedIce::kTrace + i, SimulatedIce::TraceUnit(pc, acc, flags | 0xF8)});
  }
  return units;
}

class EmulatorScenario : public monitortest::EmulatorTest {
 protected:
  EmulatorScenario() { RegisterDebugForms(state); }
  int32_t Pc() const {
    return state.CpuState.word[k42::kPcStack + state.CpuState.word[k42::kStackLevel]];
  }
  QString Hex4(uint32_t value) const { return QString::asprintf("%04X", value); }
};

TEST_F(EmulatorScenario, ConnectLoadMarkDownloadRunToAScriptedHaltAndInspect) {
  testsupport::TempDir project;
  const std::vector<uint16_t> image = BuildProject(state, project.path());
  ASSERT_EQ(image.size(), static_cast<size_t>(kWords));
  StoreSettings(1, 38400);
  Start();

  // 1. Emulation > In circuit: connected, the watch window's data cells set
  // up on the wire.
  state.MainForm()->resize(1000, 800);
  state.MainForm()->Menu("mnuQVUICE")->trigger();
  auto* panel = dynamic_cast<IceView*>(state.Forms.Get("IceView"));
  ASSERT_NE(panel, nullptr);
  panel->resize(900, 700);
  EXPECT_EQ(state.TargetState, 2);
  EXPECT_EQ(state.Status.Shown(), "Ready");
  auto* watch = dynamic_cast<Watchwin*>(state.Forms.Get("Watchwin"));
  auto* ram = dynamic_cast<RAMWin*>(state.Forms.Get("RAMWin"));
  ASSERT_NE(watch, nullptr);
  ASSERT_NE(ram, nullptr);
  ASSERT_TRUE(testsupport::WaitUntil([&] {
    return Holds(ice.TranscriptText(), WriteBlock(0x1F80, std::vector<uint32_t>(128, 0x2000)));
  }));

  // 2. Load, then marks: each reaches the emulator as its program unit.
  LoadCode(*panel, project.path() + "FIXTURE.bin");
  platform::GridControl& grid = *panel->grdProgram;
  ASSERT_EQ(grid.Rows(), kWords + 2);
  ice.ClearTranscript();
  paneltest::DoubleClickCell(grid, CodeRow(kAfter), kBreakColumn);
  paneltest::DragCells(grid, kTraceColumn, CodeRow(kLoop), CodeRow(kLoopEnd));
  ASSERT_TRUE(
      testsupport::WaitUntil([&] { return ice.Unit(kLoopEnd) == (image[kLoopEnd] | 0x20000u); }));
  const std::vector<std::string> marks = ice.TranscriptText();
  EXPECT_TRUE(Holds(marks, WriteBlock(kAfter, {image[kAfter] | 0x10000u})));
  for (int address = kLoop; address <= kLoopEnd; ++address) {
    EXPECT_TRUE(Holds(marks, WriteBlock(address, {image[address] | 0x20000u}))) << address;
  }
  QTest::mouseClick(panel->brkimg, Qt::LeftButton);
  EXPECT_EQ(state.CpuState.word[k42::kProgBreakEnable], -1);

  // Download: the program units carry the breakpoint and trace bits.
  panel->RefreshTimer->Tick();
  ice.ClearTranscript();
  QTest::mouseClick(panel->Downloadimg, Qt::LeftButton);
  std::vector<uint32_t> units(image.begin(), image.end());
  units[kAfter] |= 0x10000;
  for (int address = kLoop; address <= kLoopEnd; ++address) units[address] |= 0x20000;
  EXPECT_TRUE(Holds(ice.TranscriptText(), WriteBlock(0, units)));

  // 3. Trace on: the trace window opens in one-time mode; with no record
  // written yet it resets none of the emulator's.
  ice.ClearTranscript();
  QTest::mouseClick(panel->trcimg, Qt::LeftButton);
  auto* trace = dynamic_cast<Tracewin*>(state.Forms.Get("Tracewin"));
  ASSERT_NE(trace, nullptr);
  EXPECT_EQ(state.CpuState.word[k42::kTraceWrap], 0);
  EXPECT_EQ(state.CpuState.word[k42::kTraceActive], -1);
  EXPECT_TRUE(ice.TranscriptText().empty());
  // The watch rows as in simulation.
  WatchCounterAndSecond(state, *watch);
  ASSERT_EQ(watch->grdData->Rows(), 4);

  // 4. Run: the state packet with its trace bit, then the go word; the
  // device halts at the breakpoint with its cells and trace records.
  // Accumulator 0 with carry and zero, the index, level 0, the breakpoint
  // hit with breakpoints and trace on, PC AFTER, word 25 and word 24.
  const std::array<uint8_t, 12> halted{0x50, kDeviceIndex << 1, 0xA4, kAfter, 0x00, 0, 0, 0,
                                       0,    kTracedRecords,    0x80, 0};
  std::vector<IceUnit> halt = SimulatedIce::PacketUnits(halted);
  for (int n = 0; n < 128; ++n) halt.push_back({SimulatedIce::kDataCells + n, DeviceCell(n)});
  const std::vector<IceUnit> records = DeviceTrace(Golden("emulator.trc"));
  halt.insert(halt.end(), records.begin(), records.end());
  ice.ScriptGoWrite(30, halt);
  ice.ClearTranscript();
  QTest::mouseClick(panel->playimg, Qt::LeftButton);
  // The poll step reads the halt, then the cells, then the trace.
  ASSERT_TRUE(testsupport::WaitUntil([&] {
    const std::vector<std::string> wire = ice.TranscriptText();
    return std::count(wire.begin(), wire.end(), "00 80 15 read 2000 21") == 1 &&
           state.TargetState == 2 && trace->Page.startsWith("0000 004");
  }));
  const std::vector<std::string> run = ice.TranscriptText();
  ASSERT_GE(run.size(), 6u);
  EXPECT_EQ(run[0], "02 44 04 write 1100 4");
  EXPECT_EQ((ice.Transcript()[1].value >> 16) & 0x80, 0x80u);  // byte 3: trace on
  EXPECT_EQ(run[5], "29 00 00 word 10");
  EXPECT_EQ(ice.StatePacket()[2] & 0x80, 0x80);  // kept by the device

  // 5. The session read the halt, the views show the device's data.
  EXPECT_EQ(state.TargetState, 2);
  EXPECT_EQ(Pc(), kAfter);
  EXPECT_EQ(grid.SelStartRow(), CodeRow(kAfter));
  EXPECT_EQ(state.CpuState.word[k42::kTraceIndex], kTracedRecords);
  EXPECT_EQ(panel->IndexText->text().toStdString(), "29");
  EXPECT_TRUE(panel->CarryCheck->isChecked() && panel->ZeroCheck->isChecked());
  EXPECT_EQ(panel->instrbrkpnl->Caption().toStdString(), "I");
  EXPECT_EQ(Row(*watch->grdData, 1, 3), "COUNTER|0010|0003");
  EXPECT_EQ(Row(*watch->grdData, 2, 3), "Addr11|0011|0006");
  for (int n = 0; n < 128; ++n) {
    EXPECT_EQ(ram->grdRAM->TextMatrix(n + 1, RAMWin::kData), Hex4(DeviceCell(n))) << n;
  }

  // The trace: the records written since the go, read from TraceStartIndex
  // (0) in one request, converted with their listing text.
  EXPECT_EQ(state.TraceStartIndex, 0);
  const std::vector<std::string> wire = ice.TranscriptText();
  EXPECT_EQ(std::count(wire.begin(), wire.end(), "00 80 15 read 2000 21"), 1);
  const std::vector<std::string> golden = Lines(Golden("emulator.trc"));
  const std::vector<std::string> page = Lines(trace->Page.toStdString());
  ASSERT_GT(page.size(), static_cast<size_t>(kTracedRecords));
  for (size_t row = 0; row < page.size(); ++row) EXPECT_EQ(page[row], golden[row]) << row;

  // 6. Saved, the file equals the emulator's golden file.
  const std::string saved = project.path() + "emulator.trc";
  SaveTraceAs(*trace, saved);
  EXPECT_EQ(FirstDifference(testsupport::ReadFile(saved), Golden("emulator.trc")), "");

  // 7. RESET sends one block of reset records over records 0 to 20.
  ice.ClearTranscript();
  trace->Resetbtn->click();
  const std::vector<std::string> reset =
      WriteBlock(SimulatedIce::kTrace, std::vector<uint32_t>(64, 0xFFFFFF));
  ASSERT_TRUE(testsupport::WaitUntil([&] { return ice.TranscriptText().size() >= reset.size(); }));
  EXPECT_EQ(ice.TranscriptText(), reset);
  EXPECT_EQ(ice.Unit(SimulatedIce::kTrace + kTracedRecords - 1), 0xFFFFFFu);

  // Connect disconnects.
  QTest::mouseClick(panel->connectimg, Qt::LeftButton);
  EXPECT_EQ(state.TargetState, 1);
}

}  // namespace
