// The end-to-end debugging session in simulation: the fixture from the real
// assembler, loaded into the panel bound to the real QV4128 module through
// STDK42XX, searched, marked with the mouse, run to its breakpoint and
// inspected in the panel, the watch, the RAM and the trace window, whose file
// equals the golden file; then a step, RESET and a data-breakpoint run.
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "core/code_grid.h"
#include "debug/formfind.h"
#include "debug/formgolabel.h"
#include "debug/ramwin.h"
#include "debug/tracewin.h"
#include "debug/watchwin.h"
#include "panel_fixture.h"
#include "platform/controls.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"
#include "platform/messagebox.h"
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
  static QString Hex4(int value) { return QString::asprintf("%04X", static_cast<unsigned>(value)); }
  // A press and release of a picture button, as the user's click gives it.
  static void Press(platform::ImageButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
};

TEST_F(SimulationScenario, AssembleLoadSearchMarkRunToTheBreakpointTraceAndStep) {
  // 1. The fixture assembled into a project folder.
  testsupport::TempDir project;
  const std::vector<uint16_t> image = BuildProject(state, project.path());
  ASSERT_EQ(image.size(), static_cast<size_t>(kWords));
  StartMonitor();
  state.MainForm()->resize(1000, 800);

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

  // 4. Search > Label, "l" and "o": the LOOP row. Find "SUB": its row; Find
  // Next finds nothing below, asks, and Yes finds it again from the top.
  Click("mnuitLabel");
  auto* labels = dynamic_cast<FormGoLabel*>(state.Forms.Get("FormGoLabel"));
  ASSERT_NE(labels, nullptr);
  EXPECT_EQ(labels->ListLabels->ListCount(), 5);
  QTest::keyClick(labels->ListLabels, Qt::Key_L);
  QTest::keyClick(labels->ListLabels, Qt::Key_O);
  EXPECT_EQ(labels->ListLabels->Text(), "LOOP:");
  EXPECT_EQ(grid.SelStartRow(), CodeRow(kLoop));
  state.Forms.Show(panel);
  Click("mnuitFind");
  auto* find = dynamic_cast<FormFind*>(state.Forms.Get("FormFind"));
  ASSERT_NE(find, nullptr);
  state.Forms.Show(panel);
  find->Find1Combo->lineEdit()->selectAll();
  QTest::keyClicks(find->Find1Combo->lineEdit(), "SUB");
  QTest::mouseClick(find->BttnGo, Qt::LeftButton);
  EXPECT_EQ(grid.SelStartRow(), CodeRow(kLoopEnd - 1));
  boxes.clear();
  Click("mnuitFindNext");
  EXPECT_EQ(
      boxes,
      (std::vector<std::string>{"Tavix|End of File arrived; continue from start ?|" +
                                std::to_string(platform::MB_YESNO | platform::MB_ICONQUESTION)}));
  EXPECT_EQ(grid.SelStartRow(), CodeRow(kLoopEnd - 1));

  // 5. Marks: a double-click on "B" after the loop, a drag down "T" over it;
  // breakpoints on, and trace on, which opens the trace window.
  state.Forms.Show(panel);
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
  Press(panel->brkimg);
  EXPECT_EQ(state.CpuState.word[k42::kProgBreakEnable], -1);
  Press(panel->trcimg);
  auto* trace = dynamic_cast<Tracewin*>(state.Forms.Get("Tracewin"));
  ASSERT_NE(trace, nullptr);
  EXPECT_TRUE(trace->isVisible());
  EXPECT_EQ(state.CpuState.word[k42::kTraceEnable], -1);
  EXPECT_EQ(state.CpuState.word[k42::kTraceActive], -1);

  // 6. Watch the counter, picked from the symbols, and the second register
  // by its address.
  WatchCounterAndSecond(state, *watch);
  ASSERT_EQ(watch->grdData->Rows(), 4);
  EXPECT_EQ(Row(*watch->grdData, 1, 3), "COUNTER|0010|0000");
  EXPECT_EQ(Row(*watch->grdData, 2, 3), "Addr11|0011|0000");

  // 7. Run to the breakpoint.
  beeps = 0;
  Press(panel->playimg);
  EXPECT_EQ(Pc(), kAfter);
  EXPECT_EQ(panel->wheelpnl->Caption().toStdString(), "STOP");
  EXPECT_EQ(beeps, 3);
  EXPECT_EQ(panel->instrbrkpnl->Caption().toStdString(), "I");
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
  // The trace page: one row per traced instruction as the golden file has
  // it, then the empty records.
  EXPECT_EQ(state.CpuState.word[k42::kTraceIndex], kTracedRecords);
  const std::vector<std::string> golden = Lines(Golden("simulation.trc"));
  const std::vector<std::string> page = Lines(trace->Page.toStdString());
  const int top = std::stoi(page.at(0).substr(0, 4), nullptr, 16);
  ASSERT_EQ(top, 0);
  ASSERT_GT(page.size(), static_cast<size_t>(kTracedRecords));
  for (size_t row = 0; row < page.size(); ++row) EXPECT_EQ(page[row], golden[row]) << row;
  // Marks: a right click on the first traced row, a left click on the last.
  ClickTraceRow(*trace, 0, Qt::RightButton);
  ClickTraceRow(*trace, kTracedRecords - 1, Qt::LeftButton);
  EXPECT_EQ(trace->CyclesBox->Caption().toStdString(), std::to_string(2 * kTracedRecords));

  // 8. File > Save of the trace window: "Create File?" answered OK, the file
  // equals the golden file, the caption names it.
  const std::string saved = project.path() + "run.trc";
  SaveTraceAs(*trace, saved);
  EXPECT_EQ(boxes.back().substr(0, boxes.back().find('|')), "Create File?");
  EXPECT_EQ(FirstDifference(testsupport::ReadFile(saved), Golden("simulation.trc")), "");
  EXPECT_EQ(trace->Caption().toStdString(), "TRACE (" + saved + ")");

  // 9. One step: the PC row follows the chip's program counter.
  Press(panel->stepimg);
  EXPECT_EQ(Pc(), kAfter + 1);
  EXPECT_EQ(grid.SelStartRow(), CodeRow(kAfter + 1));

  // 10. RESET in the trace window, saved again over the file: only indexes.
  trace->Resetbtn->click();
  SaveTraceAs(*trace, saved);
  EXPECT_EQ(boxes.back().substr(0, boxes.back().find('|')), "Replace File?");
  const std::string reset = testsupport::ReadFile(saved);
  EXPECT_EQ(reset.size(), 57344u);
  EXPECT_EQ(FirstDifference(reset, Golden("reset.trc")), "");

  // 11. From a reset, data breakpoints on and W with "=3" on the second
  // register: the run stops right after the store of 3.
  Press(panel->resetimg);
  EXPECT_EQ(Pc(), 0);
  Press(panel->datimg);
  EXPECT_EQ(state.CpuState.word[k42::kDataBreakEnable], -1);
  DoubleClickIn(state, *watch->grdData, 2, Watchwin::kWrite);
  DoubleClickIn(state, *watch->grdData, 2, Watchwin::kRel);
  TypeIntoEditor(watch->txtInput, "=3");
  EXPECT_EQ(Row(*watch->grdData, 2, 8), "Addr11|0011|0000||X||=|0003");
  Press(panel->playimg);
  EXPECT_EQ(panel->databrkpnl->Caption().toStdString(), "D");
  EXPECT_EQ(Pc(), kStoreSecond + 1);
  EXPECT_EQ(grid.SelStartRow(), CodeRow(kStoreSecond + 1));
  EXPECT_EQ(Cell(kSecond), 3);
  EXPECT_EQ(Row(*watch->grdData, 2, 3), "Addr11|0011|0003");
}

}  // namespace
