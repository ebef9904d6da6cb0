#include "emulator_attach.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "emulator/comm_settings.h"
#include "emulator/emulator_binding.h"
#include "emulator/emulator_link.h"
#include "wait_until.h"

namespace paneltest {

using testdevices::IceEvent;

void AttachEmulator(monitor::MonitorState& state, testdevices::SimulatedIce& ice) {
  setenv("TAVIX_COM2", ice.Endpoint().c_str(), 1);
  monitor::BindEmulatorLink(state);
  monitor::StoreCommSettings({1, 38400, 0});
  monitor::LinkOf(state).Timings().readUnitMs = 5;
  monitor::LinkOf(state).Comm();
  ASSERT_EQ(state.LinkState, 1);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return monitor::LinkOf(state).Port().DSRHolding(); }));
  testsupport::RunEventsFor(5);
  for (int n = 0; n < 128; ++n) {
    ice.SetUnit(testdevices::SimulatedIce::kDataCells + n, 0x5AF0u | static_cast<uint32_t>(n % 16));
  }
  ice.ClearTranscript();
}

void DetachEmulator() {
  unsetenv("TAVIX_COM2");
}

std::vector<Block> Received(testdevices::SimulatedIce& ice, IceEvent::Kind kind) {
  // Settled: a round of events, with every byte the monitor wrote in it
  // handled by the device, adds nothing to the transcript.
  EXPECT_TRUE(testsupport::WaitUntil([&] {
    const size_t seen = ice.Transcript().size();
    testsupport::RunEventsFor(20);
    ice.Device().Settle();
    return ice.Transcript().size() == seen;
  }, 30000));
  std::vector<Block> blocks;
  for (const IceEvent& event : ice.Transcript()) {
    if (event.kind == kind && kind == IceEvent::kRead) {
      blocks.push_back({event.a, {static_cast<uint8_t>(event.b)}});
    } else if (event.kind == kind) {
      blocks.push_back({event.a, {}});
    } else if (event.kind == IceEvent::kData && kind == IceEvent::kWriteHeader && !blocks.empty()) {
      blocks.back().bytes.insert(blocks.back().bytes.end(), event.raw, event.raw + 3);
    }
  }
  return blocks;
}

}  // namespace paneltest
