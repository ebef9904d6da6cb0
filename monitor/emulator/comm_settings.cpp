#include "emulator/comm_settings.h"

#include <string>

namespace monitor {
namespace {

constexpr char kCommunicationsKey[] = "Communications";

}  // namespace

LinkSettings ReadCommSettings() {
  return ReadLinkSettings(kCommunicationsKey);
}

void StoreCommSettings(const LinkSettings& settings) {
  StoreLinkSettings(kCommunicationsKey,
                    {std::to_string(settings.buffered), std::to_string(settings.baud),
                     std::to_string(settings.com)});
}

}  // namespace monitor
