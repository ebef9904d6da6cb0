// The control panel on the in-circuit emulator: Emulation > In circuit opens
// it connected, its commands reach the emulator, Connect sets up the data
// cells, and an assembled program is loaded, marked and downloaded.
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <string>

#include "core/code_grid.h"
#include "core/data_cells.h"
#include "core/main_module.h"
#include "core/run_commands.h"
#include "core/view.h"
#include "debug/debug_forms.h"
#include "debug/iceview.h"
#include "emulator_fixture.h"
#include "ice_blocks.h"
#include "platform/controls.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"
#include "platform/messagebox.h"
#include "program_fixture.h"
#include "temp_dir.h"
#include "wait_until.h"

namespace {

using Lines = std::vector<std::string>;

class PanelEmulatorTest : public monitortest::EmulatorTest {
 protected:
  PanelEmulatorTest() { monitor::RegisterDebugForms(state); }
  platform::Form* OpenInCircuit() {
    Start();
    QAction* item = state.MainForm()->Menu("mnuQVUICE");
    EXPECT_TRUE(item->isEnabled());
    item->trigger();
    return state.Forms.Get("IceView");
  }
  bool WaitForWord(int word) {
    return testsupport::WaitUntil([&] {
      const std::vector<int> words = ice.Words();
      return std::find(words.begin(), words.end(), word) != words.end();
    });
  }
};

TEST_F(PanelEmulatorTest, InCircuitOpensConnectedAndItsCommandsReachTheEmulator) {
  StoreSettings(1, 38400);
  platform::Form* panel = OpenInCircuit();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->Caption(), "ICE - Emulator Control Panel");
  EXPECT_EQ(state.TargetState, 2);
  EXPECT_EQ(state.LinkState, 1);
  EXPECT_EQ(state.Status.Shown(), "Ready");
  EXPECT_TRUE(boxes.empty());

  // Step and go through the run commands, with the state packet first.
  ice.ClearTranscript();
  monitor::StepCommand(state);
  EXPECT_EQ(state.RunActive, 0);
  // The halt after the step (12) is read by the next poll step, which the
  // running poll loop may already have taken; either way the session ends idle.
  ASSERT_TRUE(
      testsupport::WaitUntil([&] { return state.TargetState == 12 || state.TargetState == 2; }));
  monitor::PollStep(state);
  EXPECT_EQ(state.TargetState, 2);
  monitor::GoCommand(state);
  ASSERT_TRUE(WaitForSession(4));
  const Lines wire = ice.TranscriptText();
  EXPECT_EQ(std::count(wire.begin(), wire.end(), "02 44 04 write 1100 4"), 2);
  EXPECT_EQ(ice.Words(), (std::vector<int>{12, 10}));

  // Closing the panel while the emulator runs sends the stop word.
  EXPECT_TRUE(state.Forms.Unload("IceView"));
  EXPECT_TRUE(WaitForWord(9));
}

TEST_F(PanelEmulatorTest, WithoutTheEmulatorThePanelStaysOpenNotConnected) {
  StoreSettings(1, 38400);
  ice.SetDsrDead(true);
  answers = {platform::IDCANCEL};
  platform::Form* panel = OpenInCircuit();
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(boxes, (Lines{"Connect Error|The monitor is not connected.\rPress OK to continue|49"}));
  EXPECT_EQ(state.TargetState, 1);
  EXPECT_EQ(state.LinkState, 2);
  // Closing it sends nothing: a stop in session 1 does nothing.
  ice.ClearTranscript();
  EXPECT_TRUE(state.Forms.Unload("IceView"));
  testsupport::RunEventsFor(10);
  EXPECT_TRUE(ice.Words().empty());
}

using paneltest::Holds;
using paneltest::WriteBlock;

TEST_F(PanelEmulatorTest, ConnectLoadMarkDownloadAndDataCellsReachTheEmulator) {
  StoreSettings(1, 38400);
  testsupport::TempDir work;
  const std::vector<uint16_t> image = paneltest::AssembleIn(work.path(), paneltest::kLoadFixture);
  ASSERT_EQ(image.size(), 0x17u);
  auto* panel = dynamic_cast<monitor::IceView*>(OpenInCircuit());
  ASSERT_NE(panel, nullptr);
  panel->resize(900, 700);
  ASSERT_EQ(state.TargetState, 2);

  // The Connect button disconnects, then connects: the data-memory range
  // becomes the emulator's 128 cells, their conditions are cleared in one
  // write, and Download is held off until the refresh timer ends.
  QTest::mouseClick(panel->connectimg, Qt::LeftButton);
  EXPECT_EQ(state.TargetState, 1);
  EXPECT_EQ(panel->connectimg->pictureName(), "dcntuppic");
  ice.SetUnit(0x1F80 + 127, 0x2F5A);
  ice.ClearTranscript();
  QTest::mouseClick(panel->connectimg, Qt::LeftButton);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return ice.Unit(0x1F80 + 127) == 0x2000u; }));
  EXPECT_EQ(state.TargetState, 2);
  EXPECT_TRUE(panel->connectimg->isEnabled());
  EXPECT_EQ(state.DataLower, 0);
  EXPECT_EQ(state.DataUpper, 127);
  EXPECT_TRUE(Holds(ice.TranscriptText(), WriteBlock(0x1F80, std::vector<uint32_t>(128, 0x2000))));
  EXPECT_FALSE(panel->Downloadimg->isEnabled());
  EXPECT_EQ(panel->Downloadimg->pictureName(), "Dnloaddispic");
  EXPECT_TRUE(panel->RefreshTimer->Running());
  EXPECT_EQ(panel->RefreshTimer->Interval(), 1000);
  panel->RefreshTimer->Tick();
  EXPECT_FALSE(panel->RefreshTimer->Running());
  EXPECT_TRUE(panel->Downloadimg->isEnabled());
  EXPECT_EQ(panel->Downloadimg->pictureName(), "downloaduppic");

  // Load the assembled listing, then mark with the mouse: each mark reaches
  // the emulator's memory as one unit with its bit.
  platform::SetDialogHook([&](platform::CommonDialog& dialog, platform::CommonDialog::Action) {
    dialog.FileName = work.path() + "FIXTURE.BIN";
    return true;
  });
  QTest::mouseClick(panel->Loadcodeimg, Qt::LeftButton);
  platform::SetDialogHook({});
  platform::GridControl& grid = *panel->grdProgram;
  ASSERT_EQ(grid.TextMatrix(6, monitor::kAddrColumn), "0011");
  ice.ClearTranscript();
  paneltest::DoubleClickCell(grid, 6, monitor::kBreakColumn);
  paneltest::DragCells(grid, monitor::kTraceColumn, 1, 2);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return ice.Unit(1) == (image[1] | 0x20000u); }));
  const Lines marks = ice.TranscriptText();
  EXPECT_TRUE(Holds(marks, WriteBlock(0x11, {image[0x11] | 0x10000u})));
  EXPECT_TRUE(Holds(marks, WriteBlock(0, {image[0] | 0x20000u})));
  EXPECT_EQ(ice.Unit(0x11), image[0x11] | 0x10000u);

  // Download: the program from 0 to its last word in one block, 16-bit words
  // with the mark bits; the reset that follows clears the conditions and
  // reads the data cells back.
  for (int address = 0; address < 0x17; ++address) ice.SetUnit(address, 0);
  ice.ClearTranscript();
  QTest::mousePress(panel->Downloadimg, Qt::LeftButton);
  EXPECT_EQ(panel->Downloadimg->pictureName(), "downloaddwnpic");
  QTest::mouseRelease(panel->Downloadimg, Qt::LeftButton);
  EXPECT_EQ(panel->Downloadimg->pictureName(), "downloaduppic");
  std::vector<uint32_t> units(image.begin(), image.end());
  units[0] |= 0x20000;
  units[1] |= 0x20000;
  units[0x11] |= 0x10000;
  const Lines download = ice.TranscriptText();
  EXPECT_TRUE(Holds(download, WriteBlock(0, units)));
  EXPECT_TRUE(Holds(download, {"0F F8 00 data 0010 00F80F"}));  // LDI 15, no sign spill
  EXPECT_TRUE(Holds(download, {"00 42 80 read 1080 128"}));
  for (int address = 0; address < 0x17; ++address) {
    EXPECT_EQ(ice.Unit(address), units[static_cast<size_t>(address)]) << address;
  }

  // A RAM value goes to the cell's condition and data units; the read after a
  // stop brings every cell back, the last one included.
  ice.ClearTranscript();
  monitor::ApplyRamValue(state, 0, 5, 0x19);
  ice.SetUnit(0x1080 + 127, 0x0C);
  monitor::RefreshAfterStop(state);
  const Lines cells = ice.TranscriptText();
  EXPECT_TRUE(Holds(cells, WriteBlock(0x1F85, {0x2009})));
  EXPECT_TRUE(Holds(cells, WriteBlock(0x1085, {0x2009})));
  EXPECT_EQ(cells.back(), "00 42 80 read 1080 128");
  EXPECT_EQ(state.RegisterFile[5].value, 9);
  EXPECT_EQ(state.RegisterFile[127].value, 0x0C);
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
