#include "core/emulator_binding.h"

#include <memory>

#include "core/emulator_commands.h"
#include "core/emulator_link.h"
#include "core/emulator_session.h"
#include "core/monitor_state.h"
#include "core/transferwin.h"

namespace monitor {

void BindEmulatorLink(MonitorState& state) {
  state.Link = {new EmulatorLink(state), [](EmulatorLink* link) { delete link; }};
  state.Link->SetOnHandshakeTimeout([&state] { CloseEmulatorSession(state); });
  state.Forms.Register("transferwin", platform::FormKind::Dialog,
                       [&state] { return new Transferwin(state); });
  state.Seams.link.ReceiveEmulatorState = [&state] { ReceiveEmulatorState(state); };
  state.Seams.link.PollEmulator = [&state] { state.Link->PollEmulator(); };
  // The download, the marks and the data cells reach the emulator's memory.
  state.Seams.link.SendCommand = [&state](int32_t address, const std::vector<uint8_t>& bytes) {
    state.Link->SendCommand(address, bytes);
  };
  state.Seams.link.ReceiveData = [&state](int32_t address, int32_t count) {
    return state.Link->ReceiveData(address, count);
  };
}

}  // namespace monitor
