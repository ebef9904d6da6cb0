#pragma once
// The emulator link's settings as the registry keeps them: the key
// "Communications", its three values stored as decimal text.
#include "core/settings/link_settings.h"

namespace monitor {

LinkSettings ReadCommSettings();
// Creates the key when it is missing, then stores the three values.
void StoreCommSettings(const LinkSettings& settings);

}  // namespace monitor
