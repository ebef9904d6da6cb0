// The control panel on the in-circuit emulator: Emulation > In circuit opens
// it connected, its commands reach the emulator, and closing it stops a run.
#include <gtest/gtest.h>

#include <QAction>
#include <algorithm>

#include "core/main_module.h"
#include "core/run_commands.h"
#include "core/view.h"
#include "debug/debug_forms.h"
#include "emulator_fixture.h"
#include "platform/messagebox.h"
#include "wait_until.h"

namespace {

using Lines = std::vector<std::string>;

class PanelEmulatorTest : public monitortest::EmulatorTest {
 protected:
  PanelEmulatorTest() {
    monitor::RegisterDebugForms(state);
    // The fixture counts the panel's refreshes; here the real panel draws.
    state.Seams.debug.RefreshPanel = [this] {
      ++refreshes;
      monitor::RefreshPanel(state);
    };
  }
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

}  // namespace
