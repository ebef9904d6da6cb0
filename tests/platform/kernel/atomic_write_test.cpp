// A successful save removes what killed saves of its file left, nothing else.
#include "platform/atomic_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

#include "temp_dir.h"

namespace {

TEST(AtomicWrite, ASuccessfulSaveRemovesOnlyTheDeadTemporariesOfItsFile) {
  testsupport::TempDir dir;
  const std::set<std::string> others{".a.asm.Ab12C",   ".a.asm.Ab-2Cd", ".A.ASM.Ab12Cd", ".b.asm.Ab12Cd",
                                     ".a.asm.Ab12Cd.x", "a.asm.Ab12Cd",  ".f.Ab12Cd"};
  for (const std::string& name : others) dir.write(name, "left");
  dir.write(".a.asm.Ab12Cd", "left");
  ASSERT_EQ(mkdir(dir.file("f").c_str(), 0700), 0);
  EXPECT_FALSE(platform::WriteFileAtomically(dir.file("f"), "x"));  // a failed save removes nothing
  platform::AtomicFile running;  // a save still being written keeps its temporary
  ASSERT_TRUE(running.Open(dir.file("a.asm")) && running.Write("second"));
  ASSERT_TRUE(platform::WriteFileAtomically(dir.file("a.asm"), "first"));
  std::set<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    left.insert(entry.path().filename().string());
  EXPECT_EQ(left.size(), others.size() + 3);  // a.asm, f and the running save's temporary
  for (const std::string& name : others) EXPECT_EQ(left.count(name), 1u) << name;
  EXPECT_EQ(left.count(".a.asm.Ab12Cd"), 0u);
  ASSERT_TRUE(running.Commit());
  EXPECT_EQ(dir.read("a.asm"), "second");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
            static_cast<std::ptrdiff_t>(others.size() + 2));
}

}  // namespace
