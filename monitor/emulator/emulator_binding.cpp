#include "emulator/emulator_binding.h"

#include <memory>

#include "core/monitor_state.h"
#include "emulator/emulator_commands.h"
#include "emulator/emulator_link.h"
#include "emulator/emulator_target.h"
#include "emulator/transferwin.h"

namespace monitor {

EmulatorLink& BindEmulatorLink(MonitorState& state) {
  auto target = std::make_unique<EmulatorTarget>(state);
  EmulatorLink& link = target->Link();
  link.SetOnHandshakeTimeout([&link] { CloseEmulatorSession(link); });
  state.InstallEmulator(std::move(target));
  state.Forms.Register("transferwin", platform::FormKind::Dialog,
                       [&state, &link] { return new Transferwin(state, link); });
  return link;
}

}  // namespace monitor
