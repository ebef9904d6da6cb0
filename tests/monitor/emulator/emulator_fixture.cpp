#include "emulator_fixture.h"

#include <cstdlib>

#include "emulator/comm_settings.h"
#include "emulator/emulator_binding.h"
#include "emulator/emulator_commands.h"
#include "emulator/transferwin.h"
#include "platform/messagebox.h"
#include "wait_until.h"

namespace monitortest {

EmulatorTest::EmulatorTest() {
  setenv("TAVIX_COM2", ice.Endpoint().c_str(), 1);
  link = &monitor::BindEmulatorLink(state);
  monitor::LinkTimings& t = Link().Timings();
  // The pause before an open (the rig's device must see the previous host
  // go), the handshake, the reset and the reads, which tests expect to
  // succeed, keep bounds that a starved machine meets; a test that waits for
  // one of them to expire shortens it itself.
  t = {30, 500, 5000, 5000, 50, 0, 200};
  platform::SetBeepHook([this] { ++beeps; });
  platform::SetMessageBoxHook(
      [this](const std::string& text, const std::string& title, unsigned style) {
        boxes.push_back(title + "|" + text + "|" + std::to_string(style));
        if (onBox) onBox();
        if (answers.empty()) return platform::DefaultAnswer(style);
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
      });
  // No data cells are in play (the connect and the watch window set their
  // range), so a halt reads back the state packet alone.
  state.DataLower = 1;
  state.DataUpper = 0;
}

EmulatorTest::~EmulatorTest() {
  platform::SetBeepHook(nullptr);
  unsetenv("TAVIX_COM2");
  unsetenv("TAVIX_REGISTRY_DIR");
}

void EmulatorTest::StoreSettings(int com, int baud, int buffered) {
  monitor::StoreCommSettings({com, baud, buffered});
}

void EmulatorTest::OpenLink() {
  StoreSettings(1, 38400);
  Link().Comm();
  ASSERT_EQ(state.LinkState, 1);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Link().Port().DSRHolding(); }));
  testsupport::RunEventsFor(5);
  ice.ClearTranscript();
}

void EmulatorTest::Connect() {
  StoreSettings(1, 38400);
  state.TargetState = 1;
  monitor::OpenEmulatorSession(Link());
  ASSERT_EQ(state.TargetState, 2);
  ASSERT_EQ(state.LinkState, 1);
  // The connect word has reached the emulator before the transcript starts.
  ASSERT_TRUE(
      testsupport::WaitUntil([&] { return !ice.Words().empty() && ice.Words().back() == 9; }));
  testsupport::RunEventsFor(5);
  ice.ClearTranscript();
  boxes.clear();
  beeps = 0;
}

bool EmulatorTest::WaitForSession(int16_t target, int ms) {
  return testsupport::WaitUntil([&] { return state.TargetState == target; }, ms);
}

}  // namespace monitortest
