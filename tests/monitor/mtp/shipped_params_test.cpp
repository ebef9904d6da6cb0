// The shipped TAVIX.INI gives the programming panel, for every controller it
// lists, the blocks that the shipped Corvane.spec gives the programmer
// control, and as many words as the controller's ROM holds.
#include <gtest/gtest.h>

#include <string>

#include "platform/profile.h"
#include "workbench/buildout.h"

TEST(ShippedParams, EveryControllerProgramsTheSameWordsInBothTools) {
  const std::string ini = TAVIX_DIST_DIR "TAVIX.INI", targets = TAVIX_DIST_DIR "Corvane.spec";
  const std::vector<std::string> controllers = platform::ProfileKeys(ini, "Controllers");
  ASSERT_GE(controllers.size(), 13u);
  for (const std::string& name : controllers) {
    int bits = 0, blocks = 0, words = 0, bytes = 0;
    ASSERT_EQ(std::sscanf(platform::ReadProfileString(targets, "ROM_PARAMS", name).c_str(),
                          "%d,%d,%d,%d,", &bits, &blocks, &words, &bytes),
              4)
        << name;
    EXPECT_EQ(platform::ReadProfileString(ini, "MTP PARAMS", name),
              std::to_string(bits) + "," + std::to_string(blocks) + "," + std::to_string(words) + ",")
        << name;
    // The ROM size as the build's size check reads it; a controller without
    // one is bounded only by the assembler's code image, whose last address
    // takes no word: 4095 words.
    const std::string romSize = platform::ReadProfileString(ini, "ROM Sizes", name);
    EXPECT_GE(blocks * words, romSize.empty() ? 4095 : monitor::RomSizeValue(romSize)) << name;
  }
}
