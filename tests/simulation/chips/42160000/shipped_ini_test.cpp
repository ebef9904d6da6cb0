// The shipped TAVIX.INI names the LCD chips' modules of the program folder.
#include "chip_test.h"

namespace {

using namespace k42test;

TEST(ShippedIni, BindsEveryLcdChipByName) {
  MessageLog log;
  for (const char* name : {"QV4116", "QV4117", "QV4118", "QV4119", "QV4123"}) {
    ASSERT_EQ(Stdk::Get().SetController(name, 0, TAVIX_DIST_DIR), 0) << name;
    Records r;
    EXPECT_EQ(r.reset(), 0) << name;
  }
  EXPECT_EQ(log.texts(), std::vector<std::string>{});
  Stdk::Get().UnloadInterface(0);
}

}  // namespace
