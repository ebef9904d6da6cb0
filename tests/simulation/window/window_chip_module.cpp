// The window test chip as a module loaded by name, with a few test controls.
#include <platform/dialog_items.h>
#include <simcore/module_exports.h>

#include "window_chip.h"

K42_CHIP_MODULE(winchip::WindowChip)

K42_EXPORT int32_t WinChip_Draws(int32_t item) { return gModuleChip.draws(item); }
K42_EXPORT int32_t WinChip_Samples() { return gModuleChip.samples(); }
K42_EXPORT int32_t WinChip_Supply() { return gModuleChip.supply(); }
K42_EXPORT int32_t WinChip_Busy() { return gModuleChip.busy(); }
K42_EXPORT int32_t WinChip_BusySamples() { return gModuleChip.busySamples(); }
K42_EXPORT uint64_t WinChip_Ticks() { return gModuleChip.ticks(); }
K42_EXPORT void WinChip_BreakAtTick(uint64_t tick) { gModuleChip.breakAtTick(tick); }
K42_EXPORT void WinChip_DrivePin(int32_t pin, int32_t level) { gModuleChip.drivePin(pin & 3, level != 0); }
// The picture of a place, as an int (the dialog lives in this module's copy
// of the dialog layer).
K42_EXPORT int32_t WinChip_Picture(int32_t id) {
  return static_cast<int32_t>(platform::GetDlgItemPicture(gModuleChip.dialogHandle(), id));
}
