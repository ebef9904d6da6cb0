#include "emulator/emulator_binding.h"

#include <memory>

#include "core/monitor_state.h"
#include "emulator/emulator_commands.h"
#include "emulator/emulator_link.h"
#include "emulator/emulator_target.h"
#include "emulator/transferwin.h"

namespace monitor {

void BindEmulatorLink(MonitorState& state) {
  auto target = std::make_unique<EmulatorTarget>(state);
  target->Link().SetOnHandshakeTimeout([&state] { CloseEmulatorSession(state); });
  state.InstallEmulator(std::move(target));
  state.Forms.Register("transferwin", platform::FormKind::Dialog,
                       [&state] { return new Transferwin(state); });
}

}  // namespace monitor
