#pragma once
// The monitor's registry module: every setting is read and written through
// these five calls, those of the registry layer (platform/registry_settings.h).
#include "platform/registry_settings.h"

namespace monitor {

using platform::ParseDecimal;
using platform::RegCreateKeyPath;
using platform::RegGetSetting;
using platform::RegReadValue;
using platform::RegSetSetting;
using platform::RegValue;
using platform::RegWriteValue;

}  // namespace monitor
