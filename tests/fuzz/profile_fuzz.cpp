// The profile-string reader and writer on any file content.
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "platform/profile.h"
#include "platform/tempfiles.h"

namespace {

std::string g_file;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_file = platform::MakeTempFolder("tavix-fuzz-profile-") + "/TAVIX.INI";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::ofstream(g_file, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  char small[5];
  char large[512];
  platform::GetPrivateProfileString(nullptr, nullptr, "", small, sizeof small, g_file);
  platform::GetPrivateProfileString("Controllers", nullptr, "", large, sizeof large, g_file);
  platform::GetPrivateProfileString("Controllers", "QV4128", "none", small, sizeof small, g_file);
  for (const std::string& section : platform::ProfileSections(g_file))
    for (const std::string& key : platform::ProfileKeys(g_file, section))
      platform::ReadProfileString(g_file, section, key, "");
  platform::WritePrivateProfileString("Controllers", "QV4128", "42280000.DLL", g_file);
  platform::WritePrivateProfileString("Controllers", "QV4128", nullptr, g_file);
  platform::WritePrivateProfileString("Controllers", nullptr, nullptr, g_file);
  return 0;
}
