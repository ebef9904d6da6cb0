// Marks set with the mouse on the program grid, the operand's symbol look-up,
// and a program from the real assembler loaded, marked and run to its
// breakpoint on a real chip.
#include "debug/program_grid.h"

#include <QHeaderView>
#include <QTest>
#include <filesystem>

#include "core/code_grid.h"
#include "core/monitor_state.h"
#include "panel_fixture.h"
#include "platform/controls.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"

namespace {

using namespace monitor;

class ProgramGridTest : public paneltest::PanelTest {
 protected:
  void SetUp() override {
    StartMonitor();
    panel = Virtual("QV4128");
    ASSERT_NE(panel, nullptr);
    panel->resize(900, 700);
  }
  platform::GridControl& Grid() const { return *panel->grdProgram; }
  void Drag(int fromRow, int toRow, Qt::KeyboardModifiers keys = {}) {
    paneltest::DragCells(Grid(), kTraceColumn, fromRow, toRow, keys);
  }
  void DoubleClickCell(int row, int col) { paneltest::DoubleClickCell(Grid(), row, col); }
  void DoubleClickHeader(int col) {
    QHeaderView* header = Grid().horizontalHeader();
    paneltest::DoubleClickAt(header->viewport(), {header->sectionViewportPosition(col) + 3, 3});
  }
  int32_t Flags(int address) const {
    return state.ProgramMemory[static_cast<size_t>(address)].flags;
  }

  IceView* panel = nullptr;
};

TEST_F(ProgramGridTest, TraceDragsAndBreakpointDoubleClicks) {
  LoadProgram(std::vector<uint16_t>(12, 0xF0FF));
  Drag(5, 9);
  for (int address = 0; address < 12; ++address) {
    const bool inside = address >= 4 && address <= 8;
    EXPECT_EQ(Flags(address), inside ? 2 : 0) << address;
    EXPECT_EQ(Grid().TextMatrix(address + 1, kTraceColumn) == "X", inside) << address;
  }
  EXPECT_EQ(state.ProjectModified, -1);
  Drag(5, 9, Qt::ControlModifier);
  EXPECT_EQ(Flags(4) | Flags(8), 0);
  EXPECT_EQ(Grid().TextMatrix(5, kTraceColumn), "");
  Drag(5, 9);
  Drag(7, 13);  // the empty last row is never marked
  EXPECT_EQ(Flags(6), 2);
  EXPECT_EQ(Flags(11), 2);
  EXPECT_EQ(Grid().TextMatrix(13, kTraceColumn), "");

  // Breakpoints: toggled by double-clicks on B; a click elsewhere on the row
  // or a double-click in T sets none.
  state.ProjectModified = 0;
  DoubleClickCell(3, kBreakColumn);
  EXPECT_EQ(Grid().TextMatrix(3, kBreakColumn), "X");
  EXPECT_EQ(Flags(2), 1);
  EXPECT_EQ(state.ProjectModified, -1);
  DoubleClickCell(3, kBreakColumn);
  EXPECT_EQ(Flags(2), 0);
  DoubleClickCell(3, kLineColumn);
  EXPECT_EQ(Flags(2), 0);

  // The B header double-clicked clears every breakpoint, also off screen;
  // another header or below the last row does nothing.
  for (int row : {1, 2, 12}) {
    DoubleClickCell(row, kBreakColumn);
  }
  Grid().SetTopRow(6);
  EXPECT_EQ(Flags(0) & 1, 1);
  DoubleClickHeader(kAddrColumn);
  paneltest::DoubleClickAt(Grid().viewport(), {5, Grid().viewport()->height() - 3});
  EXPECT_EQ(Flags(11) & 1, 1);
  DoubleClickHeader(kBreakColumn);
  for (int address : {0, 1, 11}) EXPECT_EQ(Flags(address) & 1, 0) << address;
  EXPECT_EQ(Grid().TextMatrix(1, kBreakColumn), "");
  EXPECT_EQ(Flags(11), 2);  // its trace point stays

  // A row whose Addr is no program address (a failed load's last row) shows
  // the mark but writes no cell.
  Grid().SetTextMatrix(4, kAddrColumn, "1000");
  const std::vector<ProgramCell> before = state.ProgramMemory;
  DoubleClickCell(4, kBreakColumn);
  EXPECT_EQ(Grid().TextMatrix(4, kBreakColumn), "X");
  for (size_t i = 0; i < before.size(); ++i)
    ASSERT_EQ(state.ProgramMemory[i].flags, before[i].flags);
}

TEST_F(ProgramGridTest, OperandSymbolLookUp) {
  QString text = "NOT FLAG";
  EXPECT_EQ(GetWordAt(text), "NOT");
  EXPECT_EQ(GetWordAt(text), "FLAG");
  EXPECT_EQ(text, "");
  text = "#12,A.B";
  EXPECT_EQ(GetWordAt(text), "12");
  EXPECT_EQ(GetWordAt(text), "A.B");
  EXPECT_EQ(GetWordAt(text), "");

  LoadProgram({0xF801, 0xF802, 0xF803});
  for (int row = 1; row <= 3; ++row) Grid().SetTextMatrix(row, kOperandColumn, "not  flag");
  state.Forms.Unload("Watchwin");
  DoubleClickCell(1, kOperandColumn);  // no watch window
  EXPECT_EQ(state.LastSymbolName, "");
  // The watch window's symbol grid and list, filled as a symbol load would
  // fill them.
  state.Forms.Load("Watchwin");
  auto* symbols = state.Forms.Get("Watchwin")->findChild<platform::GridControl*>("grdSymbols");
  ASSERT_NE(symbols, nullptr);
  symbols->SetRows(40);
  for (int row = 1; row < 40; ++row) symbols->SetTextMatrix(row, 0, QString("S%1").arg(row));
  symbols->SetTextMatrix(30, 0, "FLAG");
  symbols->SetTextMatrix(30, 1, "001E");
  for (int row = 1; row < 40; ++row)
    state.Watch.symbols.push_back({symbols->TextMatrix(row, 0), symbols->TextMatrix(row, 1)});
  DoubleClickCell(2, kOperandColumn);
  EXPECT_EQ(state.LastSymbolName, "FLAG");
  EXPECT_EQ(state.LastSymbolValue, "001E");
  EXPECT_EQ(symbols->SelStartRow(), 30);
  Grid().SetTextMatrix(3, kOperandColumn, "MISSING");
  DoubleClickCell(3, kOperandColumn);
  EXPECT_EQ(state.LastSymbolName, "");
}

// Labels on lines of their own, two in a row, a macro with its body, remarks
// holding ":" and "MACRO", an ORG gap, a DW list and a DD value.
TEST_F(ProgramGridTest, AssembledProgramLoadsMarksAndRunsToItsBreakpoint) {
  testsupport::TempDir work;
  const std::string folder = work.path() + "proj.v2/";
  std::filesystem::create_directories(folder);
  const std::vector<uint16_t> image = paneltest::AssembleIn(folder, paneltest::kLoadFixture);
  ASSERT_GE(image.size(), 0x17u);
  for (ProgramCell& cell : state.ProgramMemory) cell = {0x7777, 3};

  platform::SetDialogHook([&](platform::CommonDialog& dialog, platform::CommonDialog::Action) {
    dialog.FileName = folder + "FIXTURE.BIN";
    return true;
  });
  boxes.clear();
  QTest::mouseClick(panel->Loadcodeimg, Qt::LeftButton);
  EXPECT_TRUE(boxes.empty());

  const QStringList addresses = {"0000", "0001", "0002", "0003", "0010",
                                 "0011", "0012", "0015", ""};
  QStringList shown, labels;
  for (int row = 1; row < Grid().Rows(); ++row) {
    shown << Grid().TextMatrix(row, kAddrColumn);
    labels << Grid().TextMatrix(row, kLabelColumn);
  }
  EXPECT_EQ(shown, addresses);
  EXPECT_EQ(labels.mid(0, 6),
            (QStringList{"START:,FIRST:", "LOOP:", "BUMP..1:", "", "NEXT:", "DONE:"}));
  EXPECT_EQ(Grid().TextMatrix(1, kCodeColumn), "F803");
  EXPECT_EQ(Grid().TextMatrix(1, kRemarkColumn), "NOTE: MACRO IN A REMARK");
  // Every listed cell holds the image's word, data words included, with no
  // mark left over; the ORG gap keeps what it held.
  for (int address : {0, 1, 2, 3, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16}) {
    EXPECT_EQ(state.ProgramMemory[static_cast<size_t>(address)].instr,
              image[static_cast<size_t>(address)])
        << address;
    EXPECT_EQ(Flags(address), 0) << address;
  }
  EXPECT_EQ(state.ProgramMemory[0x16].instr, 0x1234);
  EXPECT_EQ(state.ProgramMemory[5].instr, 0x7777);
  EXPECT_EQ(Flags(5), 0);
  EXPECT_EQ(Pc(), 0);

  DoubleClickCell(6, kBreakColumn);  // DONE
  Drag(1, 3);
  EXPECT_EQ(Flags(0x11), 1);
  EXPECT_EQ(Flags(0) & Flags(1) & Flags(2), 2);
  state.CpuState.word[k42::kProgBreakEnable] = 1;
  Key(Qt::Key_F5);
  EXPECT_EQ(Pc(), 0x11);
  EXPECT_EQ(Grid().SelStartRow(), 6);
}

}  // namespace
