// The shipped TAVIX.INI gives the programming panel, for every controller it
// lists, the blocks that the shipped Corvane.spec gives the programmer
// control, and as many words as the controller's ROM holds.
#include <gtest/gtest.h>

#include <string>

#include "platform/profile.h"

namespace {

// The first `count` comma-ended fields of `value`, each with its comma.
std::string Fields(const std::string& value, int count) {
  size_t end = 0;
  for (int i = 0; i < count && end != std::string::npos; ++i) {
    end = value.find(',', end);
    if (end != std::string::npos) ++end;
  }
  return end == std::string::npos ? value : value.substr(0, end);
}

TEST(ShippedParams, EveryControllerProgramsTheSameWordsInBothTools) {
  const std::string ini = TAVIX_DIST_DIR "TAVIX.INI", spec = TAVIX_DIST_DIR "Corvane.spec";
  const std::vector<std::string> controllers = platform::ProfileKeys(ini, "Controllers");
  ASSERT_GE(controllers.size(), 13u);
  for (const std::string& name : controllers) {
    const std::string mtp = platform::ReadProfileString(ini, "MTP PARAMS", name);
    EXPECT_EQ(mtp, Fields(platform::ReadProfileString(spec, "ROM_PARAMS", name), 3)) << name;
    int bits = 0, blocks = 0, words = 0;
    ASSERT_EQ(std::sscanf(mtp.c_str(), "%d,%d,%d,", &bits, &blocks, &words), 3) << name;
    EXPECT_EQ(bits, 16) << name;
    const std::string rom = platform::ReadProfileString(ini, "ROM Sizes", name, "0");
    EXPECT_GE(blocks * words, std::stoi(rom)) << name;
  }
}

}  // namespace
