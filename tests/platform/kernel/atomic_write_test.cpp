// Replacing a file whole: what killed saves left beside it goes at its next
// successful save, and nothing else does.
#include "platform/atomic_write.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <set>

#include "temp_dir.h"

namespace {

std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

TEST(AtomicWrite, ASuccessfulSaveRemovesItsOwnLeftoversButNotARunningSavesOrOthers) {
  testsupport::TempDir dir;
  std::set<std::string> kept{".a.asm.Ab12C",  ".a.asm.Ab-2Cd", ".A.ASM.Ab12Cd",    ".b.asm.Ab12Cd",
                             "a.asm.Ab12Cd", ".a.asm.Ab12Cd.x", ".folder.Ab12Cd", "folder"};
  for (const std::string& name : kept)
    if (name != "folder") dir.write(name, "left");
  for (const char* name : {".a.asm.Ab12Cd", ".a.asm.000000"}) dir.write(name, "left");
  ASSERT_EQ(mkdir(dir.file("folder").c_str(), 0700), 0);
  // A save that fails (a folder cannot be replaced by a file) removes nothing.
  int error = 0;
  EXPECT_FALSE(platform::WriteFileAtomically(dir.file("folder"), "x", &error));
  EXPECT_EQ(error, EISDIR);

  platform::AtomicFile running;
  ASSERT_TRUE(running.Open(dir.file("a.asm")));
  ASSERT_TRUE(running.Write("second"));
  ASSERT_TRUE(platform::WriteFileAtomically(dir.file("a.asm"), "first"));
  EXPECT_EQ(dir.read("a.asm"), "first");
  std::set<std::string> left = Entries(dir.path());
  for (const std::string& name : kept) EXPECT_EQ(left.erase(name), 1u) << name;
  EXPECT_EQ(left.erase("a.asm"), 1u);
  // Only the temporary of the save still running remains.
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left.begin()->rfind(".a.asm.", 0), 0u);
  EXPECT_EQ(left.begin()->size(), 13u);

  EXPECT_TRUE(running.Commit());
  EXPECT_EQ(dir.read("a.asm"), "second");
  kept.insert("a.asm");
  EXPECT_EQ(Entries(dir.path()), kept);
}

}  // namespace
