// The control's logic without its widget, on COM3 against the simulated
// device programmer: the state machine and the transfers as the panel would
// show them, with commands that never complete and links that die.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "pelto_logic.h"
#include "platform/messagebox.h"
#include "simulated_programmer.h"
#include "wait_until.h"

namespace peltotest {
namespace {

using pelto::CommandEnd;
using pelto::PanelState;
using pelto::PanelTask;
using Lines = std::vector<std::string>;

class PeltoLogicTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("TAVIX_COM3", programmer.Endpoint().c_str(), 1);
    platform::SetMessageBoxHook([this](const std::string& text, const std::string&, unsigned) {
      boxes.push_back(text);
      return platform::IDOK;
    });
    // A 16-bit target of one 4-word block, every pace at 2 %.
    logic.params.commPortNr = 3;
    logic.params.instructionSize = 16;
    logic.params.nbOfBlocks = 1;
    logic.params.blockSize = 4;
    logic.timings = pelto::PeltoTimings::Scaled(2);
    logic.states.Update(PanelState::NotConnected);
  }
  void TearDown() override {
    platform::SetMessageBoxHook(nullptr);
    unsetenv("TAVIX_COM3");
  }
  // Connects, then holds the panel so that no socket poll runs.
  void ConnectAndHold() {
    ASSERT_EQ(logic.states.Update(PanelState::Idle), 1);
    ASSERT_TRUE(logic.shown.connected) << testing::PrintToString(programmer.TranscriptText());
    logic.states.Update(PanelState::Held);
    programmer.ClearTranscript();
  }
  static bool WaitFor(const std::function<bool()>& condition) {
    return testsupport::WaitUntil(condition, 20000);
  }

  testdevices::SimulatedProgrammer programmer;
  pelto::PeltoLogic logic;
  Lines boxes;
};

// A programmer that answers every poll but never finishes: after ten polls
// per progress step the panel is idle again, red, and says so.
TEST_F(PeltoLogicTest, AProgrammingThatNeverCompletesEndsIdleWithTheFailureLookAndAMessage) {
  ASSERT_EQ(logic.states.Update(PanelState::Idle), 1);
  ASSERT_TRUE(logic.shown.connected);
  programmer.SetNeverCompletes(0x02, true);
  const int polls = programmer.Polls();
  boxes.clear();
  EXPECT_EQ(logic.states.Update(PanelState::Busy, PanelTask::Program), 2);
  EXPECT_EQ(programmer.Polls() - polls, 50);  // 10 x 1 block x 5
  EXPECT_EQ(boxes, Lines{"Programming did not complete !"});
  EXPECT_EQ(logic.shown.light, pelto::Light::Red);
  EXPECT_EQ(logic.shown.status, "Programming did not complete !");
  EXPECT_EQ(logic.shown.statusColor, pelto::kRed);
  EXPECT_EQ(logic.states.State(), PanelState::Idle);
  EXPECT_EQ(logic.shown.look, pelto::PanelLook::Idle);
  EXPECT_TRUE(logic.shown.chipButtons);
  EXPECT_TRUE(logic.shown.connected);
  programmer.ClearTranscript();
  ASSERT_TRUE(WaitFor([&] { return !programmer.FrameText().empty(); }));
  EXPECT_EQ(programmer.FrameText().front(), "A5 00 0B 00 01");  // the socket poll goes on
}

TEST_F(PeltoLogicTest, CommandsThatNeverCompleteAndDeadLinksEndTheirWaits) {
  ConnectAndHold();
  // A device CRC that never completes gives up after 10 polls, silently.
  programmer.SetNeverCompletes(0x04, true);
  const int polls = programmer.Polls();
  boxes.clear();
  EXPECT_EQ(logic.link.RequestDevCRC(), -1);
  EXPECT_EQ(programmer.Polls() - polls, 10);
  EXPECT_TRUE(boxes.empty());
  EXPECT_TRUE(logic.shown.connected);

  // Programming that never completes ends when CTS drops.
  programmer.SetNeverCompletes(0x02, true);
  programmer.Device().After(100, [&] { programmer.SetCts(false); });
  EXPECT_EQ(logic.link.Program(), CommandEnd::LinkFailed);
  EXPECT_FALSE(logic.shown.connected);
  EXPECT_EQ(boxes, Lines{"General Communication problem"});
  EXPECT_EQ(logic.states.State(), PanelState::NotConnected);

  // A silent programmer: the read times out (here soon) and the link closes.
  logic.timings.read = 200;
  programmer.SetCts(true);
  programmer.SetNeverCompletes(0x04, false);
  ASSERT_TRUE(WaitFor([&] { return !programmer.Device().Attached(); }));
  ConnectAndHold();
  boxes.clear();
  programmer.SetSilent(true);
  EXPECT_EQ(logic.link.Read(0x0B, 1), std::nullopt);
  EXPECT_EQ(boxes, (Lines{"Reception of data has timed out", "General Communication problem"}));
  EXPECT_FALSE(logic.shown.connected);

  // A port that does not open ends the connect at once.
  boxes.clear();
  programmer.ClearTranscript();
  programmer.SetRefuseHosts(true);
  logic.states.ToggleConnection();
  EXPECT_FALSE(logic.shown.connected);
  EXPECT_EQ(boxes, Lines{"General Communication problem"});
  EXPECT_TRUE(programmer.FrameText().empty());
}

}  // namespace
}  // namespace peltotest
