// The end-to-end debugging session in simulation: the fixture from the real
// assembler, loaded into the panel bound to the real QV4128 module through
// STDK42XX, marked with the mouse, run to its breakpoint and inspected in
// the panel, the watch and the RAM window.
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "core/code_grid.h"
#include "debug/ramwin.h"
#include "debug/watchwin.h"
#include "panel_fixture.h"
#include "platform/controls.h"
#include "platform/grid_control.h"
#include "program_fixture.h"
#include "scenario_fixture.h"

namespace {

using namespace monitor;
using namespace scenario;

class SimulationScenario : public paneltest::PanelTest {
 protected:
  int Cell(int address) const {
    return state.RegisterFile[static_cast<size_t>(address)].value & 15;
  }
  QString Hex4(int value) const { return QString::asprintf("%04X", static_cast<unsigned>(value)); }
};

TEST_F(SimulationScenario, AssembleLoadMarkRunToTheBreakpointAndInspect) {
  // 1. The fixture assembled into a project folder.
  testsupport::TempDir project;
  const std::vector<uint16_t> image = BuildProject(state, project.path());
  ASSERT_EQ(image.size(), static_cast<size_t>(kWords));
  StartMonitor();

  // 2. Emulation > Virtual: the chip bound, its window in the host, the
  // watch and RAM windows open.
  Click("mnuQVVICE");
  IceView* panel = Panel();
  ASSERT_NE(panel, nullptr);
  ASSERT_NE(Host(), nullptr);
  EXPECT_EQ(Host()->Caption(), "QV4128 Periphery");
  EXPECT_TRUE(Host()->isVisible());
  auto* watch = dynamic_cast<Watchwin*>(state.Forms.Get("Watchwin"));
  auto* ram = dynamic_cast<RAMWin*>(state.Forms.Get("RAMWin"));
  ASSERT_NE(watch, nullptr);
  ASSERT_NE(ram, nullptr);

  // 3. Load: the listing's rows, the program cells, exactly the register
  // symbols, the RAM labels, and the reset on address 0.
  LoadCode(*panel, project.path() + "FIXTURE.bin");
  platform::GridControl& grid = *panel->grdProgram;
  ASSERT_EQ(grid.Rows(), kWords + 2);
  for (int address = 0; address < kWords; ++address) {
    SCOPED_TRACE(address);
    EXPECT_EQ(grid.TextMatrix(CodeRow(address), kAddrColumn), Hex4(address));
    EXPECT_EQ(grid.TextMatrix(CodeRow(address), kCodeColumn), Hex4(image[address]));
    EXPECT_EQ(state.ProgramMemory[static_cast<size_t>(address)].instr, image[address]);
  }
  EXPECT_EQ(Column(grid, kLabelColumn),
            (std::vector<std::string>{"START:", "", "", "", "LOOP:", "", "SECOND_REGISTER_SUM:", "",
                                      "", "", "", "AFTER:", "", "DONE:", ""}));
  EXPECT_EQ(grid.TextMatrix(CodeRow(5), kRemarkColumn).toStdString(), "COUNTS 1, 2, 3");
  EXPECT_EQ(Column(*watch->grdSymbols, 0),
            (std::vector<std::string>{"COUNTER", "RESULT", "SECOND", "", ""}));
  EXPECT_EQ(Column(*watch->grdSymbols, 1),
            (std::vector<std::string>{"0010", "0012", "0011", "", ""}));
  EXPECT_EQ(ram->grdRAM->TextMatrix(kCounter + 1, RAMWin::kLabel), "COUNTER");
  EXPECT_EQ(ram->grdRAM->TextMatrix(kSecond + 1, RAMWin::kLabel), "SECOND");
  EXPECT_EQ(ram->grdRAM->TextMatrix(kResult + 1, RAMWin::kLabel), "RESULT");
  EXPECT_EQ(grid.SelStartRow(), CodeRow(0));
  EXPECT_EQ(Pc(), 0);

  // 5. Marks: a double-click on "B" after the loop, a drag down "T" over it.
  paneltest::DoubleClickCell(grid, CodeRow(kAfter), kBreakColumn);
  paneltest::DragCells(grid, kTraceColumn, CodeRow(kLoop), CodeRow(kLoopEnd));
  for (int address = 0; address < kWords; ++address) {
    SCOPED_TRACE(address);
    const bool traced = address >= kLoop && address <= kLoopEnd;
    const bool broken = address == kAfter;
    EXPECT_EQ(grid.TextMatrix(CodeRow(address), kBreakColumn) == "X", broken);
    EXPECT_EQ(grid.TextMatrix(CodeRow(address), kTraceColumn) == "X", traced);
    EXPECT_EQ(state.ProgramMemory[static_cast<size_t>(address)].flags,
              (broken ? k42::kCellBreakpoint : 0) | (traced ? k42::kCellTracePoint : 0));
  }
  state.CpuState.word[k42::kProgBreakEnable] = -1;
  state.CpuState.word[k42::kTraceEnable] = -1;

  // 6. Watch the counter, picked from the symbols, and the second register
  // by its address.
  WatchCounterAndSecond(state, *watch);
  ASSERT_EQ(watch->grdData->Rows(), 4);
  EXPECT_EQ(Row(*watch->grdData, 1, 3), "COUNTER|0010|0000");
  EXPECT_EQ(Row(*watch->grdData, 2, 3), "Addr11|0011|0000");

  // 7. Run to the breakpoint.
  beeps = 0;
  Key(Qt::Key_F5);
  EXPECT_EQ(Pc(), kAfter);
  EXPECT_EQ(panel->wheelpnl->Caption(), "STOP");
  EXPECT_EQ(beeps, 3);
  EXPECT_EQ(panel->instrbrkpnl->Caption(), "I");
  EXPECT_EQ(grid.SelStartRow(), CodeRow(kAfter));
  EXPECT_EQ(panel->AccText->text(), QString::number(state.CpuState.word[k42::kAcc], 16).toUpper());
  EXPECT_EQ(panel->CarryCheck->isChecked(), state.CpuState.word[k42::kCarry] != 0);
  EXPECT_EQ(panel->ZeroCheck->isChecked(), state.CpuState.word[k42::kZero] != 0);
  EXPECT_TRUE(panel->CarryCheck->isChecked() && panel->ZeroCheck->isChecked());
  EXPECT_EQ(Cell(kCounter), 3);
  EXPECT_EQ(Cell(kSecond), 6);
  EXPECT_EQ(Cell(kResult), 5);
  EXPECT_EQ(Row(*watch->grdData, 1, 3), "COUNTER|0010|0003");
  EXPECT_EQ(Row(*watch->grdData, 2, 3), "Addr11|0011|0006");
  for (int cell = 0; cell < 128; ++cell) {
    EXPECT_EQ(ram->grdRAM->TextMatrix(cell + 1, RAMWin::kData), Hex4(Cell(cell))) << cell;
  }
  EXPECT_EQ(state.CpuState.word[k42::kTraceIndex], kTracedRecords);

  // 9. One step: the PC row follows the chip's program counter.
  Key(Qt::Key_F8);
  EXPECT_EQ(Pc(), kAfter + 1);
  EXPECT_EQ(grid.SelStartRow(), CodeRow(kAfter + 1));

  // 11. From a reset, a data breakpoint on the second register's write of 3
  // stops the run right after that store.
  Key(Qt::Key_R, Qt::AltModifier);
  EXPECT_EQ(Pc(), 0);
  state.CpuState.word[k42::kDataBreakEnable] = -1;
  DoubleClickIn(state, *watch->grdData, 2, Watchwin::kWrite);
  DoubleClickIn(state, *watch->grdData, 2, Watchwin::kRel);
  TypeIntoEditor(watch->txtInput, "=3");
  EXPECT_EQ(Row(*watch->grdData, 2, 8), "Addr11|0011|0000||X||=|0003");
  Key(Qt::Key_F5);
  EXPECT_EQ(panel->databrkpnl->Caption(), "D");
  EXPECT_EQ(Pc(), kStoreSecond + 1);
  EXPECT_EQ(Cell(kSecond), 3);
  EXPECT_EQ(Row(*watch->grdData, 2, 3), "Addr11|0011|0003");
}

}  // namespace
