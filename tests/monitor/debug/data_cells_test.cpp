// The program download's units, the listing text of a row, and the data
// cells' condition units, reads and register writes, with a stand-in watch
// window; the writes and reads as the simulated emulator receives them.
#include "core/data_cells.h"

#include "core/code_grid.h"
#include "core/monitor_state.h"
#include "core/view.h"
#include "debug/code_load.h"
#include "emulator_attach.h"
#include "panel_fixture.h"
#include "platform/grid_control.h"
#include "temp_dir.h"
#include "wait_until.h"

namespace {

using namespace monitor;

using Bytes = std::vector<uint8_t>;

using Write = paneltest::Block;
using paneltest::AttachEmulator;
using paneltest::Received;

class DataCellsTest : public paneltest::PanelTest {
 protected:
  void SetUp() override {
    StartMonitor();
    AttachEmulator(state, ice);
  }
  void TearDown() override { paneltest::DetachEmulator(); }
  std::vector<Write> Writes() { return Received(ice, testdevices::IceEvent::kWriteHeader); }
  std::vector<Write> Reads() { return Received(ice, testdevices::IceEvent::kRead); }
  // The stand-in watch window: its rows (Label, Addr, Data, R, W, IO, Rel,
  // Match) and the empty entry row.
  platform::GridControl& Watch(const std::vector<std::array<const char*, 8>>& rows) {
    return paneltest::LoadWatchStandIn(state, rows);
  }
  // A program grid of rows (B, T, Addr, Code) and the empty last row.
  platform::GridControl& Program(const std::vector<std::array<const char*, 4>>& rows) {
    if (Panel() == nullptr) Virtual("QV4128");
    platform::GridControl& grid = *Panel()->grdProgram;
    grid.SetRows(static_cast<int>(rows.size()) + 2);
    for (size_t r = 0; r < rows.size(); ++r) {
      const int row = static_cast<int>(r) + 1;
      grid.SetTextMatrix(row, kBreakColumn, rows[r][0]);
      grid.SetTextMatrix(row, kTraceColumn, rows[r][1]);
      grid.SetTextMatrix(row, kAddrColumn, rows[r][2]);
      grid.SetTextMatrix(row, kCodeColumn, rows[r][3]);
    }
    for (int col = 0; col < 9; ++col) grid.SetTextMatrix(grid.Rows() - 1, col, "");
    return grid;
  }
  // The program memory as a load of those rows fills it, with their marks.
  void Load(const std::vector<std::array<const char*, 4>>& rows) {
    for (ProgramCell& cell : state.ProgramMemory) cell = {};
    state.ListedAddresses.reset();
    for (const auto& row : rows) {
      const std::optional<int32_t> address = ProgramAddress(row[2]);
      if (!address) continue;
      ProgramCell& cell = state.ProgramMemory[static_cast<size_t>(*address)];
      cell.instr = ProgramWord(row[3]).value_or(0);
      cell.flags = (std::string(row[0]) == "X" ? 1 : 0) | (std::string(row[1]) == "X" ? 2 : 0);
      state.ListedAddresses.set(static_cast<size_t>(*address));
    }
  }
  Bytes Download() { return BuildDownloadStream(state.ProgramMemory, state.ListedAddresses); }
  testdevices::SimulatedIce ice;
};

TEST_F(DataCellsTest, DownloadUnitsFillersAndMarks) {
  Load({{" ", " ", "0000", "F800"}, {"X", " ", "0001", "1234"}, {"X", "X", "0004", "F800"}});
  EXPECT_EQ(Download(), (Bytes{0x00, 0xF8, 0x00, 0x34, 0x12, 0x01, 0xFF, 0xF0, 0x00, 0xFF, 0xF0,
                               0x00, 0x00, 0xF8, 0x03}));
  // A first word at 3 gets fillers first; a word the listing gave without a
  // row fills its own address; a row with no program address is skipped.
  const std::vector<std::array<const char*, 4>> rows = {
      {" ", "X", "0003", "0001"}, {" ", " ", "0005", "0002"}, {" ", " ", "1000", "0003"}};
  Program(rows);
  Load(rows);
  state.ProgramMemory[4].instr = 0xBEEF;
  state.ListedAddresses.set(4);
  EXPECT_EQ(Download(), (Bytes{0xFF, 0xF0, 0, 0xFF, 0xF0, 0, 0xFF, 0xF0, 0, 0x01, 0x00, 0x02, 0xEF,
                               0xBE, 0, 0x02, 0x00, 0x00}));
  state.Emulator().DownloadCode();
  EXPECT_EQ(Writes(), (std::vector<Write>{{0, Download()}}));

  // Marks: the simulator changes only the cell; the emulator also gets the
  // cell's unit with both its marks from program memory, whatever the grid's
  // mark columns show, or a message and nothing when the address has no row.
  ice.ClearTranscript();
  SetBreakpoint(state, 5, true);
  EXPECT_EQ(state.ProgramMemory[5].flags, 1);
  EXPECT_TRUE(Writes().empty());
  state.TargetState = 2;
  Panel()->grdProgram->SetTextMatrix(2, kBreakColumn, "X");
  SetTracepoint(state, 5, true);
  SetBreakpoint(state, 4096, true);
  boxes.clear();
  SetBreakpoint(state, 6, true);
  EXPECT_EQ(state.ProgramMemory[5].flags, 3);
  EXPECT_EQ(Writes(), (std::vector<Write>{{5, {0x02, 0x00, 0x03}}}));
  EXPECT_EQ(boxes,
            (std::vector<std::string>{"|ERROR: cannot find the Row corresponding to address|0"}));
  state.TargetState = 32;

  // A listing whose addresses go back: every word still lands at its own
  // address, as the load put it in program memory.
  testsupport::TempDir files;
  files.write("back.prn", "000001 0000 F800 : NOP\r\n000002 0002 1111 : NOP\r\n"
                          "000003 0001 2222 : NOP\r\n");
  LoadDebugInfo(state, files.file("back.prn"));
  EXPECT_EQ(Download(), (Bytes{0x00, 0xF8, 0, 0x22, 0x22, 0, 0x11, 0x11, 0}));
}

TEST_F(DataCellsTest, ListingTextOfARow) {
  platform::GridControl& grid = Program({{" ", " ", "0007", "1A2B"}, {" ", " ", "0008", "0"}});
  grid.SetTextMatrix(1, kLabelColumn, "LOOP");
  grid.SetTextMatrix(1, kInstrColumn, "LDI ");
  grid.SetTextMatrix(1, kOperandColumn, "5");
  grid.SetTextMatrix(2, kLabelColumn, "ABCDEFGHIJKLM");
  grid.SetTextMatrix(2, kInstrColumn, "LONGINSTR");
  grid.SetTextMatrix(2, kCodeColumn, "123456");
  const QString first = FormatListingRow(state, 7);
  EXPECT_EQ(first, "01A2B " + QString(8, ' ') + "LOOP LDI      5" + QString(19, ' ') + "   " +
                       QString(20, ' '));
  EXPECT_EQ(FormatListingRow(state, 8).left(28), "23456 BCDEFGHIJKLM LONGIN   ");
  EXPECT_EQ(FormatListingRow(state, 9), "");
  EXPECT_EQ(first.size(), 5 + 1 + 12 + 1 + 6 + 3 + 20 + 3 + 20);

  EXPECT_EQ(TrimLeading("   "), "   ");
  EXPECT_EQ(TrimLeading(" \t AB C"), "AB C");
  EXPECT_EQ(FirstBlank("ABC"), 0);
  EXPECT_EQ(FirstBlank("AB\tC D"), 3);
}

TEST_F(DataCellsTest, ConditionUnitsAndTheirWrites) {
  for (const auto& [text, relation] : std::vector<std::pair<QString, int>>{
           {"<=", 6}, {"=>", 3}, {"x<", 0}, {"<x", 0}, {"", 0}, {"<>=", 7}}) {
    EXPECT_EQ(RelationOf(text), relation) << text.toStdString();
  }
  platform::GridControl& grid = Watch({{"A", "12", "5", "R", "", "", ">", "A"},
                                       {"B", "7F", "1F", "", "W", "", "=", "2"},
                                       {"C", "80", "3", "", "", "", "", ""}});
  state.Watch.current = 1;
  ApplyWatchCondition(state, 0x12);
  ApplyWatchValue(state, 0x12);
  EXPECT_EQ(Writes(), (std::vector<Write>{{0x1F92, {0xA5, 0x29, 0x00}},
                                          {0x1F92, {0xA5, 0x29, 0x00}},
                                          {0x1092, {0xA5, 0x29, 0x00}}}));
  // Row 1 keeps its condition; no row means none; a 1F never spills.
  ice.ClearTranscript();
  ApplyRamValue(state, 1, 0x12, 9);
  ApplyRamValue(state, 0, 0x12, 0x1F);
  state.Watch.current = 2;
  ApplyWatchCondition(state, 0x7F);
  EXPECT_EQ(Writes(), (std::vector<Write>{{0x1F92, {0xA9, 0x29, 0}},
                                          {0x1092, {0xA9, 0x29, 0}},
                                          {0x1F92, {0x0F, 0x20, 0}},
                                          {0x1092, {0x0F, 0x20, 0}},
                                          {0x1FFF, {0x2F, 0x32, 0}}}));

  grid.SetRow(3);
  grid.SetCol(4);
  state.Watch.current = 3;
  EXPECT_EQ(FindWatchRow(state, "7F", kWatchAddr), 2);
  EXPECT_EQ(FindWatchRow(state, "99", kWatchAddr), -1);
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.Col(), 4);

  // The cells' own condition words.
  state.RegisterFile[3] = {0x35, 0x18};
  SetRegisterCompare(state, 3, 6, 0x1C);
  EXPECT_EQ(state.RegisterFile[3].value, 0xC5);
  EXPECT_EQ(state.RegisterFile[3].flags, 0x1E);
  SetRegisterFlag(state, 3, 0x10, false);
  SetRegisterFlag(state, 3, 0x100, true);
  EXPECT_EQ(state.RegisterFile[3].flags, 0x10E);
  ClearRegisterCondition(state, 3);
  EXPECT_EQ(state.RegisterFile[3].flags, 0);
}

TEST_F(DataCellsTest, InitialisationAndRefreshAfterAStop) {
  platform::GridControl& grid = Watch({{"A", "12", "", "", "", "", "", ""},
                                       {"B", "7F", "", "", "", "", "", ""},
                                       {"C", "80", "", "", "", "", "", ""}});
  state.Watch.rows.back().address = "13";  // the entry row
  const int depth = state.Status.Depth();
  InitDataMemory(state);  // the range 0..0 at creation
  state.DataUpper = 127;
  InitDataMemory(state);
  // The emulator has taken both blocks once the last cell's unit arrived.
  ASSERT_TRUE(testsupport::WaitUntil([&] {
    const std::vector<Write> sent = Writes();
    return sent.size() == 2 && sent[1].bytes.size() == 3u * 128;
  }));
  const std::vector<Write> writes = Writes();
  ASSERT_EQ(writes.size(), 2u);
  EXPECT_EQ(writes[0], (Write{0x1F80, {0x00, 0x20, 0x00}}));
  EXPECT_EQ(writes[1].address, 0x1F80);
  ASSERT_EQ(writes[1].bytes.size(), 3u * 128);
  for (size_t i = 0; i < writes[1].bytes.size(); i += 3) {
    ASSERT_EQ((Bytes{writes[1].bytes.begin() + static_cast<long>(i),
                     writes[1].bytes.begin() + static_cast<long>(i) + 3}),
              (Bytes{0x00, 0x20, 0x00}));
  }
  EXPECT_EQ(state.Status.Depth(), depth);
  EXPECT_EQ(state.Status.FloodPercent(), 0);

  state.CpuState.word[k42::kIndex] = 0x3C;
  RefreshAfterStop(state);
  EXPECT_EQ(Reads(), (std::vector<Write>{{0x1080, {128}}}));
  EXPECT_EQ(state.RegisterFile[0].value, 0);
  EXPECT_EQ(state.RegisterFile[0x12].value, 2);
  EXPECT_EQ(state.RegisterFile[127].value, 15);
  EXPECT_EQ(state.RegisterFile[110].value, 0xC);
  EXPECT_EQ(state.RegisterFile[111].value, 0x3);
  EXPECT_EQ(grid.TextMatrix(1, kWatchData), "0002");
  EXPECT_EQ(grid.TextMatrix(2, kWatchData), "000F");
  EXPECT_EQ(grid.TextMatrix(3, kWatchData), "");
  EXPECT_EQ(grid.TextMatrix(4, kWatchData), "");

  // A failed read still sets the index cells and redisplays.
  ice.SetSilent(true);
  state.CpuState.word[k42::kIndex] = 0x41;
  RefreshAfterStop(state);
  EXPECT_EQ(state.RegisterFile[110].value, 1);
  EXPECT_EQ(state.RegisterFile[0x12].value, 2);
}

TEST_F(DataCellsTest, RegisterWriteOnTheSimulatedChip) {
  ASSERT_NE(Virtual("QV4128"), nullptr);
  const std::vector<RegisterCell> before = state.RegisterFile;
  WriteTargetRegister(state, 0x11, 9);
  EXPECT_EQ(state.RegisterFile[0x11].value & 15, 9);
  int changed = 0;
  for (size_t i = 0; i < before.size(); ++i)
    changed += before[i].value != state.RegisterFile[i].value;
  EXPECT_EQ(changed, 1);
  // The index register's high cell holds three bits and moves the register.
  state.CpuState.word[k42::kIndex] = 0x05;
  EXPECT_EQ(WriteTargetRegister(state, 111, 0xF), 0xF);
  EXPECT_EQ(state.RegisterFile[111].value & 15, 7);
  EXPECT_EQ(state.CpuState.word[k42::kIndex], 0x75);
}

}  // namespace
