// The test chip as a module loaded by name, with a few test controls.
#include <simcore/module_exports.h>

#include "test_chip.h"

K42_CHIP_MODULE(testchip::TestChip)
K42_CHIP_OPTIONS()

K42_EXPORT void TestChip_SetPins(int32_t pins) { gModuleChip.setPins(pins); }
K42_EXPORT uint64_t TestChip_Ticks() { return gModuleChip.ticks(); }
K42_EXPORT void TestChip_BreakAtTick(uint64_t tick) { gModuleChip.breakAtTick(tick); }
K42_EXPORT int32_t TestChip_RequestReads() { return gModuleChip.requestReads(); }
