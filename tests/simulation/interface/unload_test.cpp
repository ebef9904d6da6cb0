// Unloading or replacing the module from an event pumped by its own run: the
// run is broken and the module freed only after it has returned.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <platform/library.h>
#include <platform/messages.h>

#include "encoding.h"
#include "target_client.h"

using namespace k42test;

namespace {

bool ModuleLoaded(const char* name) {
  std::string path = platform::ResolveLibraryPath(name, TEST_PROGRAM_FOLDER);
  void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (h != nullptr) dlclose(h);
  return h != nullptr;
}

class Unload : public ::testing::Test {
 protected:
  void SetUp() override {
    UseTestChip();
    ASSERT_EQ(r.reset(), 0);
    r.load({INC(0x10), STA(0x10), JMP(0)});
  }
  void TearDown() override {
    platform::RunPump::SetScript({});
    Stdk::Get().UnloadInterface(0);
  }
  Records r;
  MessageLog log;
};

}  // namespace

TEST_F(Unload, DuringARunFreesTheModuleWhenTheRunReturns) {
  bool loadedInside = false;
  platform::RunPump::SetScriptAtRound(50, [&] {
    EXPECT_EQ(Stdk::Get().UnloadInterface(0), -1);
    loadedInside = ModuleLoaded("TestChip.DLL");
  });
  EXPECT_EQ(r.execute(k42::kRunModeRun), k42::kStopStep);
  EXPECT_TRUE(loadedInside);
  EXPECT_FALSE(ModuleLoaded("TestChip.DLL"));
  EXPECT_EQ(r[k42::kPcStack], 51 % 3);
  EXPECT_EQ(r.execute(k42::kRunModeRun), -1);
  EXPECT_EQ(log.texts(), std::vector<std::string>{"Error V0010\nType of controller not selected"});
}

TEST_F(Unload, SetControllerDuringARunSwitchesAfterIt) {
  platform::RunPump::SetScriptAtRound(10, [&] {
    EXPECT_EQ(Stdk::Get().SetController("PARTIAL", 0, TEST_PROGRAM_FOLDER), 0);
    EXPECT_TRUE(ModuleLoaded("TestChip.DLL"));
  });
  EXPECT_EQ(r.execute(k42::kRunModeRun), k42::kStopStep);
  EXPECT_FALSE(ModuleLoaded("TestChip.DLL"));
  EXPECT_TRUE(ModuleLoaded("PARTIAL"));
  platform::RunPump::SetScript({});
  EXPECT_EQ(r.execute(16), 17) << "the partial module's execute";
  EXPECT_TRUE(log.boxes().empty());
}
