// The panel's run buttons and register controls on the in-circuit emulator:
// the simulated emulator on a pseudo-terminal, the session reaching its
// states through the device's CD line, and the wire read unit by unit.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <algorithm>

#include "emulator/emulator_commands.h"
#include "debug/debug_forms.h"
#include "debug/iceview.h"
#include "emulator_fixture.h"
#include "ice_blocks.h"
#include "platform/controls.h"
#include "wait_until.h"

namespace {

using paneltest::Lines;
using namespace monitor;

class PanelEmulatorButtonsTest : public monitortest::EmulatorTest {
 protected:
  void SetUp() override {
    RegisterDebugForms(state);
    StoreSettings(1, 38400);
    Start();
    state.MainForm()->Menu("mnuQVUICE")->trigger();
    panel = dynamic_cast<IceView*>(state.Forms.Get("IceView"));
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(state.TargetState, 2);
    ice.ClearTranscript();
  }
  // Idle again after a step: the halt (12) is read by a poll step. The
  // deadlines are generous for a loaded machine.
  bool WaitForIdle() { return WaitForSession(2, kDeadlineMs); }
  bool WaitForRun() { return WaitForSession(4, kDeadlineMs); }
  int Count(const std::string& line) const {
    const Lines wire = ice.TranscriptText();
    return static_cast<int>(std::count(wire.begin(), wire.end(), line));
  }
  static void Press(platform::ImageButton* image) { QTest::mouseClick(image, Qt::LeftButton); }

  IceView* panel = nullptr;
  static constexpr int kDeadlineMs = 5000;
  static constexpr const char* kStatePacket = "02 44 04 write 1100 4";
};

TEST_F(PanelEmulatorButtonsTest, RunStepAnimateStopAndResetDriveTheEmulator) {
  // Step: the state packet, then the word with the step bits; idle again.
  Press(panel->stepimg);
  EXPECT_EQ(state.RunActive, 0);
  ASSERT_TRUE(WaitForIdle());
  ASSERT_EQ(ice.Words().size(), 1u);
  EXPECT_EQ(ice.Words()[0] & 12, 12);
  EXPECT_EQ(Count(kStatePacket), 1);
  EXPECT_EQ(panel->stepimg->pictureName(), "stepuppic");

  // Animate: a first step at once; a tick steps only an idle emulator.
  Press(panel->animimg);
  EXPECT_TRUE(panel->timAnimate->Enabled());
  panel->timAnimate->SetEnabled(false);  // the ticks below are the test's own
  ASSERT_TRUE(WaitForIdle());
  ice.ClearTranscript();
  panel->timAnimate_Timer();
  ASSERT_TRUE(WaitForIdle());
  EXPECT_EQ(Count(kStatePacket), 1);
  ASSERT_EQ(ice.Words().size(), 1u);
  EXPECT_EQ(ice.Words()[0] & 12, 12);
  ice.ClearTranscript();
  state.TargetState = 12;  // halted, its packet not yet read
  panel->timAnimate_Timer();
  state.TargetState = 2;
  EXPECT_TRUE(ice.Transcript().empty());

  // Run: the go word, the session running; the Run button's own exit leaves
  // it to the session, which shows the run.
  ice.ClearTranscript();
  Press(panel->playimg);
  EXPECT_EQ(state.RunActive, 0);
  ASSERT_TRUE(WaitForRun());
  ASSERT_EQ(ice.Words().size(), 1u);
  EXPECT_EQ(ice.Words()[0] & 2, 2);
  EXPECT_EQ(Count(kStatePacket), 1);
  EXPECT_FALSE(panel->playimg->isEnabled());
  EXPECT_TRUE(panel->stopimg->isEnabled());
  // Running: a tick and Connect leave the wire silent.
  ice.ClearTranscript();
  panel->timAnimate_Timer();
  Press(panel->connectimg);
  EXPECT_EQ(state.TargetState, 4);
  testsupport::RunEventsFor(20);
  EXPECT_TRUE(ice.Words().empty());

  // Stop: the stop word; the session halts and is idle again.
  Press(panel->stopimg);
  ASSERT_TRUE(WaitForIdle());
  ASSERT_FALSE(ice.Words().empty());
  EXPECT_EQ(ice.Words()[0] & 1, 1);

  // Reset: the cleared registers, the data cells' conditions cleared and read
  // back.
  state.CpuState.word[k42::kAcc] = 9;
  ice.ClearTranscript();
  Press(panel->resetimg);
  EXPECT_EQ(state.CpuState.word[k42::kAcc], 0);
  // The open watch window set the data-memory range to all 128 cells.
  EXPECT_TRUE(paneltest::Holds(ice.TranscriptText(),
                               paneltest::WriteBlock(0x1F80, std::vector<uint32_t>(128, 0x2000))));
  EXPECT_EQ(ice.TranscriptText().back(), "00 42 80 read 1080 128");
  EXPECT_TRUE(panel->resetimg->isEnabled());
  EXPECT_TRUE(boxes.empty());
}

TEST_F(PanelEmulatorButtonsTest, IndexRegisterAndPortOptionsReachTheEmulator) {
  // The index register: both cells' condition and data units, then the read.
  panel->IndexText->selectAll();
  QTest::keyClicks(panel->IndexText, "7F");
  QTest::keyClick(panel->IndexText, Qt::Key_Return);
  EXPECT_EQ(state.CpuState.word[k42::kIndex], 0x7F);
  EXPECT_EQ(state.RegisterFile[0x6E].value, 0xF);
  EXPECT_EQ(state.RegisterFile[0x6F].value, 0x7);
  EXPECT_EQ(
      ice.TranscriptText(),
      (Lines{"BA 7F 01 write 1FEE 1", "0F 20 00 data 1FEE 00200F", "BA 43 01 write 10EE 1",
             "0F 20 00 data 10EE 00200F", "BE 7F 01 write 1FEF 1", "07 20 00 data 1FEF 002007",
             "BE 43 01 write 10EF 1", "07 20 00 data 10EF 002007", "00 42 80 read 1080 128"}));

  // The interrupt multiplexer's switch and its port display.
  state.CpuStateDirty = 0;
  panel->intmuximg_MouseDown(1, 0);
  EXPECT_EQ(panel->intmuximg->pictureName(), "onuppic");
  panel->intmuximg_MouseUp(1, 0);
  EXPECT_EQ(state.CpuState.word[k42::kIceIntMux], -1);
  EXPECT_NE(state.CpuStateDirty, 0);
  EXPECT_EQ(panel->intmuximg->pictureName(), "onuppic");
  EXPECT_EQ(panel->pintimg->pictureName(), "pintuppic");

  // The option switch: its command bit toggled. Idle (CD on) nothing goes on
  // the wire; running (CD off) the modes are reset and the dispatch runs,
  // which sends nothing in state 4 either.
  ice.ClearTranscript();
  panel->pintimg_Click();
  EXPECT_EQ(state.CommandBitValue[7], -1);
  EXPECT_EQ(panel->pintimg->pictureName(), "pintdispic");
  state.CommandBitMode.fill(0);
  testsupport::RunEventsFor(20);
  EXPECT_TRUE(ice.Transcript().empty());
  EXPECT_EQ(state.CommandBitMode[0], 0);

  Press(panel->playimg);
  ASSERT_TRUE(WaitForRun());
  ice.ClearTranscript();
  state.CommandBitMode.fill(0);
  panel->pintimg_Click();
  EXPECT_EQ(state.CommandBitValue[7], 0);
  EXPECT_EQ(state.CommandBitMode, (std::array<int16_t, 11>{2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2}));
  testsupport::RunEventsFor(20);
  EXPECT_TRUE(ice.Words().empty());
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
