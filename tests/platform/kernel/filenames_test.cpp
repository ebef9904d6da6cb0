#include <gtest/gtest.h>

#include <filesystem>

#include "platform/filenames.h"
#include "temp_dir.h"

using namespace platform;

TEST(FileNames, BaseNameCutsOnlyInTheLastComponent) {
  EXPECT_EQ(BaseName("/a/b/prog.asm"), "/a/b/prog");
  EXPECT_EQ(BaseName("/a/b/prog.x.asm"), "/a/b/prog.x");
  EXPECT_EQ(BaseName("/a.b/prog"), "/a.b/prog");
  EXPECT_EQ(BaseName("prog"), "prog");
  EXPECT_EQ(BaseName("prog."), "prog");
  EXPECT_EQ(BaseName("/a.b/"), "/a.b/");
  EXPECT_EQ(FileName("/a/b/PROG.ASM"), "PROG.ASM");
  EXPECT_EQ(FolderOf("/a/b/PROG.ASM"), "/a/b/");
  EXPECT_EQ(FolderOf("PROG.ASM"), "");
}

TEST(FileNames, ResolvesExistingPathsComponentByComponentWithoutCase) {
  testsupport::TempDir dir;
  std::filesystem::create_directories(dir.file("Src/Inc"));
  dir.write("Src/Inc/Defs.Asm", "x");
  EXPECT_EQ(ResolvePathNoCase(dir.file("SRC/inc/DEFS.ASM")), dir.file("Src/Inc/Defs.Asm"));
  EXPECT_EQ(ResolvePathNoCase(dir.file("src/Inc")), dir.file("Src/Inc"));
  EXPECT_EQ(ResolvePathNoCase(dir.file("src/missing.asm")), "");
  // A new file keeps the case the user gave.
  EXPECT_EQ(FindOrKeepPath(dir.file("Src/New.ASM")), dir.file("Src/New.ASM"));
  EXPECT_EQ(FindOrKeepPath(dir.file("src/inc/defs.asm")), dir.file("Src/Inc/Defs.Asm"));
  // An exact match is taken before a case-insensitive one.
  dir.write("Src/Inc/defs.asm", "y");
  EXPECT_EQ(ResolvePathNoCase(dir.file("Src/Inc/defs.asm")), dir.file("Src/Inc/defs.asm"));
}

TEST(FileNames, ProgramPathIsTheExecutablesFolder) {
  std::string p = ProgramPath();
  ASSERT_FALSE(p.empty());
  EXPECT_EQ(p.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(p + "platform_kernel_tests"));
  SetProgramPath("/opt/tavix");
  EXPECT_EQ(ProgramPath(), "/opt/tavix/");
  SetProgramPath("");
  EXPECT_EQ(ProgramPath(), p);
}

TEST(FileNames, EqualsNoCase) {
  EXPECT_TRUE(EqualsNoCase("Tavix.INI", "TAVIX.ini"));
  EXPECT_FALSE(EqualsNoCase("TAVIX", "TAVIX "));
}
