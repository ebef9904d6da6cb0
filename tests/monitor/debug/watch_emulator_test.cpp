// The watch and RAM windows on the in-circuit emulator: what their edits put
// on the wire, as the simulated emulator records it.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QTest>

#include "core/monitor_state.h"
#include "debug/debug_forms.h"
#include "debug/ramwin.h"
#include "debug/watchwin.h"
#include "emulator_fixture.h"
#include "ice_blocks.h"
#include "platform/grid_control.h"
#include "program_fixture.h"
#include "wait_until.h"

namespace {

using monitor::RAMWin;
using monitor::Watchwin;
using paneltest::Holds;
using paneltest::Lines;
using paneltest::WriteBlock;

constexpr int kConditions = 0x1F80, kCells = 0x1080;
const Lines kReadBack{"00 42 80 read 1080 128"};

class WatchEmulatorTest : public monitortest::EmulatorTest {
 protected:
  WatchEmulatorTest() { monitor::RegisterDebugForms(state); }

  // A double-click on a cell of a window brought to the front, scrolled into
  // view.
  void DoubleClick(platform::Form* form, platform::GridControl* grid, int row, int col) {
    state.Forms.Show(form);
    grid->scrollTo(grid->model()->index(row - 1, col));
    paneltest::DoubleClickCell(*grid, row, col);
  }
  void Type(QLineEdit* editor, const QString& text) {
    ASSERT_TRUE(editor->isVisible());
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
  }
  // Waits for the unit, then answers the transcript from the last clear.
  Lines WireOnce(int address, uint32_t unit) {
    EXPECT_TRUE(testsupport::WaitUntil([&] { return ice.Unit(address) == unit; }))
        << std::hex << address << " " << ice.Unit(address);
    Lines wire = ice.TranscriptText();
    ice.ClearTranscript();
    return wire;
  }
};

TEST_F(WatchEmulatorTest, ConditionsAndValuesGoOverTheLinkAsUnits) {
  // The panel opens connected and loads the watch window, which clears the
  // conditions of all 128 cells in one write.
  StoreSettings(1, 38400);
  ice.SetUnit(kConditions + 127, 0x2F5A);
  Start();
  state.MainForm()->Menu("mnuQVUICE")->trigger();
  ASSERT_EQ(state.TargetState, 2);
  auto* watch = dynamic_cast<Watchwin*>(state.Forms.Get("Watchwin"));
  auto* ram = dynamic_cast<RAMWin*>(state.Forms.Get("RAMWin"));
  ASSERT_NE(watch, nullptr);
  ASSERT_NE(ram, nullptr);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return ice.Unit(kConditions + 127) == 0x2000u; }));
  EXPECT_TRUE(
      Holds(ice.TranscriptText(), WriteBlock(kConditions, std::vector<uint32_t>(128, 0x2000))));
  testsupport::RunEventsFor(5);
  ice.ClearTranscript();

  // The entry row names no cell: nothing goes out from its Data to Match.
  platform::GridControl* grid = watch->grdData;
  for (int col = Watchwin::kData; col <= Watchwin::kMatch; ++col) DoubleClick(watch, grid, 1, col);
  EXPECT_EQ(watch->EditRow, 0);

  // A value: the unit to the condition cell, then to the data cell, then the
  // data memory read back; the monitor's copy loses its compare bits and the
  // index register follows.
  DoubleClick(watch, grid, 1, Watchwin::kAddr);
  Type(watch->Text2, "6e");
  state.RegisterFile[110].value = 0x52;
  state.RegisterFile[111].value = 3;
  DoubleClick(watch, grid, 1, Watchwin::kData);
  Type(watch->Text1, "5");
  Lines wire = WireOnce(kCells + 110, 0x2005);
  Lines units = WriteBlock(kConditions + 110, {0x2005});
  for (const std::string& line : WriteBlock(kCells + 110, {0x2005})) units.push_back(line);
  EXPECT_TRUE(Holds(wire, units));
  EXPECT_EQ(wire.back(), kReadBack.back());
  EXPECT_EQ(state.RegisterFile[110].value, 5);
  EXPECT_EQ(state.CpuState.word[k42::kIndex], 0x35);
  EXPECT_EQ(grid->TextMatrix(1, Watchwin::kData), "0005");
  EXPECT_EQ(ram->grdRAM->TextMatrix(111, RAMWin::kData), "0005");

  // R, then the condition ">A": value 5, match A, ">" and R give A5 29 00.
  DoubleClick(watch, grid, 1, Watchwin::kRead);
  wire = WireOnce(kConditions + 110, 0x2F05);
  EXPECT_TRUE(Holds(wire, WriteBlock(kConditions + 110, {0x2805})));
  DoubleClick(watch, grid, 1, Watchwin::kRel);
  Type(watch->txtInput, ">A");
  wire = WireOnce(kConditions + 110, 0x29A5);
  EXPECT_TRUE(Holds(wire, {"A5 29 00 data 1FEE 0029A5"}));
  EXPECT_EQ(state.RegisterFile[110].flags, 0);  // the monitor keeps no flags here

  // A RAM write carries the condition of the watch row naming its cell; a
  // cell no row names gets the plain value.
  DoubleClick(ram, ram->grdRAM, 111, RAMWin::kData);
  Type(ram->RAMEditBox, "3");
  wire = WireOnce(kCells + 110, 0x29A3);
  EXPECT_TRUE(Holds(wire, WriteBlock(kConditions + 110, {0x29A3})));
  EXPECT_TRUE(Holds(wire, WriteBlock(kCells + 110, {0x29A3})));
  EXPECT_EQ(wire.back(), kReadBack.back());
  DoubleClick(ram, ram->grdRAM, 6, RAMWin::kData);
  Type(ram->RAMEditBox, "C");
  wire = WireOnce(kCells + 5, 0x200C);
  EXPECT_TRUE(Holds(wire, WriteBlock(kConditions + 5, {0x200C})));
  EXPECT_EQ(grid->TextMatrix(1, Watchwin::kData), "0003");

  // Deleting the watch row sends nothing: the emulator keeps the condition.
  DoubleClick(watch, grid, 1, Watchwin::kLabel);
  QTest::keyClick(grid, Qt::Key_Delete);
  EXPECT_EQ(grid->Rows(), 2);
  testsupport::RunEventsFor(20);
  for (const std::string& line : ice.TranscriptText())
    EXPECT_EQ(line.find("write"), std::string::npos) << line;
  EXPECT_EQ(ice.Unit(kConditions + 110), 0x29A3u);
  EXPECT_EQ(beeps, 0);
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
