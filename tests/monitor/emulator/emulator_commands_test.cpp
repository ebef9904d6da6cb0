// Connect, step, go, stop and disconnect against the simulated emulator,
// with the exact transcript; the connect's failures; the hardware reset; the
// poll step's state read.
#include "emulator/emulator_commands.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>

#include "core/main_module.h"
#include "emulator/emulator_session.h"
#include "emulator_fixture.h"
#include "platform/messagebox.h"
#include "platform/run_time_error.h"
#include "wait_until.h"

namespace {

using monitortest::EmulatorTest;
using Lines = std::vector<std::string>;

const char kConnectError[] = "Connect Error|The monitor is not connected.\rPress OK to continue|49";

class EmulatorCommandsTest : public EmulatorTest {
 protected:
  // The transcript from the last attach on.
  Lines SinceAttach() const {
    const Lines wire = ice.TranscriptText();
    auto last = std::find(wire.rbegin(), wire.rend(), "attach");
    return Lines(last.base() - 1, wire.end());
  }
  // The state packet's header and units as they reach the emulator, then
  // the command word.
  static Lines PacketThen(const std::string& pc, const std::string& word) {
    return {"02 44 04 write 1100 4",           "00 00 00 data 1100 000000",
            pc + " 00 00 data 1101 0000" + pc, "00 00 00 data 1102 000000",
            "23 01 00 data 1103 000123",       word};
  }
};

TEST_F(EmulatorCommandsTest, ConnectStepGoStopAndDisconnectOnTheWire) {
  StoreSettings(1, 38400);
  state.TargetState = 1;
  monitor::OpenEmulatorSession(Link());
  EXPECT_EQ(state.TargetState, 2);
  EXPECT_EQ(state.Status.Shown(), "Ready");
  // The handshake and the connect word; no reset word.
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !ice.Words().empty(); }));
  EXPECT_EQ(SinceAttach(),
            (Lines{"attach", "DTR on", "RTS on", "DTR off", "DTR on", "25 00 00 word 9"}));

  for (bool tooShort : {false, true}) {
    SCOPED_TRACE(tooShort ? "CD pulse too short to see" : "CD off, then on");
    ice.SetStepTooShort(tooShort);
    ice.ClearTranscript();
    state.CpuState.word[2] = 0;
    state.CpuState.word[3] = 0x010;
    state.CpuState.word[25] = 0x0123;
    state.CpuStateDirty = -1;
    monitor::HardwareStep(Link());
    EXPECT_EQ(state.TraceStartIndex, 0x0123);
    ASSERT_TRUE(WaitForSession(12));
    monitor::PollStep(state);
    EXPECT_EQ(state.TargetState, 2);
    Lines wire = PacketThen("10", "31 00 00 word 12");
    wire.push_back("00 44 04 read 1100 4");
    EXPECT_EQ(ice.TranscriptText(), wire);
    EXPECT_EQ(state.CpuState.word[3], 0x011);
    EXPECT_EQ(state.CpuStateDirty, 0);
  }

  // Go, then stop: the emulator halts and the next poll step reads it.
  ice.ClearTranscript();
  state.CpuStateDirty = -1;
  monitor::HardwareGo(Link());
  ASSERT_TRUE(WaitForSession(4));
  monitor::HardwareStop(Link());
  ASSERT_TRUE(WaitForSession(12));
  monitor::PollStep(state);
  Lines wire = PacketThen("11", "29 00 00 word 10");
  wire.insert(wire.end(), {"25 00 00 word 9", "00 44 04 read 1100 4"});
  EXPECT_EQ(ice.TranscriptText(), wire);
  EXPECT_EQ(state.TargetState, 2);
  // A stop already asked sends nothing; connect while connected does nothing.
  ice.ClearTranscript();
  state.TargetState = 15;
  monitor::HardwareStop(Link());
  state.TargetState = 2;
  monitor::OpenEmulatorSession(Link());
  testsupport::RunEventsFor(5);
  EXPECT_TRUE(ice.TranscriptText().empty());

  // Disconnect: the handshake, the port closed, the status text popped.
  state.Status.PushStatusText("Connected");
  monitor::CloseEmulatorSession(Link());
  EXPECT_EQ(state.TargetState, 1);
  EXPECT_EQ(state.LinkState, 2);
  EXPECT_EQ(state.Status.Shown(), "Ready");
  const Lines closed{"DTR off", "DTR on", "DTR off", "RTS off", "detach"};
  ASSERT_TRUE(testsupport::WaitUntil([&] { return ice.TranscriptText().size() == 5; }));
  EXPECT_EQ(ice.TranscriptText(), closed);
  monitor::CloseEmulatorSession(Link());
  testsupport::RunEventsFor(5);
  EXPECT_EQ(ice.TranscriptText(), closed);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(EmulatorCommandsTest, ASilentEmulatorAsksAndCancelGivesUp) {
  StoreSettings(1, 38400);
  ice.SetDsrDead(true);
  Link().Timings().handshakeMs = 300;
  answers = {platform::IDCANCEL};
  state.TargetState = 1;
  monitor::OpenEmulatorSession(Link());
  EXPECT_EQ(boxes, (Lines{kConnectError}));
  EXPECT_EQ(state.LinkState, 2);  // not left in the handshake
  EXPECT_EQ(state.TargetState, 1);
  EXPECT_FALSE(Link().Port().PortOpen());

  // OK tries again from the reopen, and the emulator has come alive.
  boxes.clear();
  answers = {platform::IDOK};
  // The retry reopens the port once the rig has seen the closed one go.
  onBox = [&] {
    ice.SetDsrDead(false);
    Link().Timings().handshakeMs = 5000;
    testsupport::WaitUntil([&] { return !ice.Device().Attached(); }, 10000);
  };
  monitor::OpenEmulatorSession(Link());
  EXPECT_EQ(boxes, (Lines{kConnectError}));
  EXPECT_EQ(state.TargetState, 2);
  EXPECT_EQ(state.LinkState, 1);
}

TEST_F(EmulatorCommandsTest, AFreshRegistryCannotConnect) {
  answers = {platform::IDCANCEL};
  state.TargetState = 1;
  monitor::OpenEmulatorSession(Link());
  EXPECT_EQ(boxes, (Lines{kConnectError}));
  EXPECT_EQ(state.LinkState, 2);
  EXPECT_EQ(state.TargetState, 1);
}

TEST_F(EmulatorCommandsTest, TheResetGoesThroughItsTablesAndReportsAFailure) {
  Connect();
  for (int word = 0; word < 28; ++word) state.CpuState.word[word] = 1;
  state.CommandBitValue.fill(-1);
  // Event 14 leads to 16, where no word is dispatched; done gives 1, with the
  // panel's state and the command bits cleared.
  monitor::ResetEmulator(Link());
  EXPECT_EQ(state.TargetState, 1);
  for (int word = 0; word < 28; ++word) EXPECT_EQ(state.CpuState.word[word], word == 24 ? -1 : 0);
  EXPECT_EQ(state.CommandBitValue, monitor::CommandBits{});
  testsupport::RunEventsFor(5);
  EXPECT_TRUE(ice.TranscriptText().empty());

  // DSR off under a connected session: 32000 inside, the box, 31991 out.
  state.TargetState = 2;
  Link().ClosePort();
  Link().Timings().resetDsrMs = 300;
  int number = 0;
  try {
    monitor::ResetHardwareCommand(Link());
  } catch (const platform::RunTimeError& error) {
    number = error.Number();
  }
  EXPECT_EQ(number, 31991);
  EXPECT_EQ(boxes, (Lines{"Hardware Reset Error|The monitor can not reset the hardware.\rCheck "
                          "the emulator and the connection with the host.|48"}));
  EXPECT_EQ(state.TargetState, 10);
}

TEST_F(EmulatorCommandsTest, GoAndStepThatTheLinkRefusesLeaveTheSessionHaltedAndTheStateUnsent) {
  Connect();
  state.CpuState.word[3] = 0x010;
  state.CpuState.word[25] = 0x0123;
  state.CpuStateDirty = -1;
  // Go and Step pressed while a trace read is under way: the busy link
  // refuses both, and the session stays halted with the edit unsent.
  // The emulator answers the request only once both were pressed.
  ice.SetSilent(true);
  QTimer::singleShot(0, [&] {
    monitor::HardwareGo(Link());
    monitor::HardwareStep(Link());
    testsupport::WaitUntil([&] { return !ice.TranscriptText().empty(); }, 10000);
    ice.Device().Write(std::vector<uint8_t>(12, 0));
  });
  EXPECT_EQ(Link().ReceiveData(0x2000, 4).value().size(), 12u);
  ice.SetSilent(false);
  EXPECT_EQ(state.TargetState, 2);
  EXPECT_EQ(state.CpuStateDirty, -1);
  EXPECT_EQ(ice.TranscriptText(), (Lines{"00 80 04 read 2000 4"}));
  // A failed link refuses alike; once the poll step recovers it, Go sends
  // the edit and the word, and the emulator runs.
  Link().SetLinkState(7);
  monitor::HardwareGo(Link());
  EXPECT_EQ(state.TargetState, 2);
  monitor::PollStep(state);
  ASSERT_EQ(state.LinkState, 1);
  ice.ClearTranscript();
  monitor::HardwareGo(Link());
  ASSERT_TRUE(WaitForSession(4));
  EXPECT_EQ(state.CpuStateDirty, 0);
  EXPECT_EQ(ice.TranscriptText(), PacketThen("10", "29 00 00 word 10"));
}

TEST_F(EmulatorCommandsTest, AFailedStateReadRecoversInTheSamePollStep) {
  Connect();
  state.TargetState = 12;
  ice.SetShortReply(5);
  monitor::PollStep(state);
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(ends, 0);
  EXPECT_EQ(state.LinkState, 1);
  EXPECT_EQ(state.TargetState, 10);
  EXPECT_EQ(ice.TranscriptText(), (Lines{"00 44 04 read 1100 4", "DTR off", "DTR on"}));
  // The emulator goes silent and its DSR dies during the next read: the
  // disconnect that the DSR event runs inside the read's wait uses up the
  // shared time-out, and the read still ends.
  Connect();
  Link().Timings().handshakeMs = 300;
  state.TargetState = 12;
  ice.SetSilent(true);
  QTimer::singleShot(5, [&] { ice.SetDsrDead(true); });
  monitor::PollStep(state);
  EXPECT_EQ(state.TargetState, 1);
  EXPECT_EQ(state.LinkState, 2);
  EXPECT_EQ(ends, 0);
  // The emulator sees the port's close on its own thread.
  ASSERT_TRUE(testsupport::WaitUntil([&] {
    const Lines events = ice.TranscriptText();
    return !events.empty() && events.back() == "detach";
  }));

  // A clean flag sends no packet and no event.
  state.TargetState = 2;
  state.CpuStateDirty = 0;
  ice.ClearTranscript();
  monitor::SendEmulatorState(Link());
  EXPECT_EQ(state.TargetState, 2);
  testsupport::RunEventsFor(5);
  EXPECT_TRUE(ice.TranscriptText().empty());
}

}  // namespace
