#include "emulator/emulator_binding.h"

#include <memory>

#include "core/monitor_state.h"
#include "emulator/emulator_commands.h"
#include "emulator/emulator_link.h"
#include "emulator/emulator_target.h"
#include "emulator/transferwin.h"

namespace monitor {

void BindEmulatorLink(MonitorState& state) {
  state.Link = {new EmulatorLink(state), [](EmulatorLink* link) { delete link; }};
  state.Link->SetOnHandshakeTimeout([&state] { CloseEmulatorSession(state); });
  state.Forms.Register("transferwin", platform::FormKind::Dialog,
                       [&state] { return new Transferwin(state); });
  state.InstallEmulator(std::make_unique<EmulatorTarget>(state));
}

}  // namespace monitor
