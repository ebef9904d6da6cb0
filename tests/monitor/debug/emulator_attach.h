#pragma once
// The emulator's link bound, up and idle on COM2 with the simulated emulator
// behind it, for the debug views' tests whose cell writes reach it; and
// what the emulator received, read from its transcript.
#include <cstdint>
#include <vector>

#include "core/monitor_state.h"
#include "simulated_ice.h"

namespace paneltest {

// Expects the registry folder set; the data cells read back as 0x5AF0 + n % 16.
void AttachEmulator(monitor::MonitorState& state, testdevices::SimulatedIce& ice);
void DetachEmulator();

struct Block {
  int32_t address;
  std::vector<uint8_t> bytes;  // the units written; for a read its count
  bool operator==(const Block&) const = default;
};
// The blocks of that kind (kWriteHeader or kRead) since the last clear, once
// the emulator has received everything.
std::vector<Block> Received(testdevices::SimulatedIce& ice, testdevices::IceEvent::Kind kind);

}  // namespace paneltest
