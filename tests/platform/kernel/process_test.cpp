#include <gtest/gtest.h>

#include <filesystem>

#include "platform/clock.h"
#include "platform/process.h"
#include "temp_dir.h"

using namespace platform;
using testsupport::TempDir;

TEST(Process, StartsByNameWithoutCaseDroppingExeAndPassesArgumentsVerbatim) {
  TempDir dir;
  std::string out = dir.file("args.txt");
  // Characters a shell would interpret reach the program unchanged.
  ProcessResult r = StartProcess("PROBEPROG.EXE", {out, "/D", "/sC:x y;$(echo no)", "*"}, true,
                                 PROBE_DIR);
  ASSERT_TRUE(r.started);
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_EQ(dir.read("args.txt"), "/D\n/sC:x y;$(echo no)\n*\n");
}

TEST(Process, DetachedProcessRunsOnItsOwn) {
  TempDir dir;
  std::string out = dir.file("detached.txt");
  ProcessResult r = StartProcess("probeprog", {out, "one"}, false, PROBE_DIR);
  ASSERT_TRUE(r.started);
  EXPECT_GT(r.pid, 0);
  for (int i = 0; i < 200 && dir.read("detached.txt") != "one\n"; ++i) SleepMillis(10);
  EXPECT_EQ(dir.read("detached.txt"), "one\n");
}

TEST(Process, MissingExecutableIsNotStarted) {
  EXPECT_FALSE(StartProcess("NoSuchProgram.EXE", {}, true, PROBE_DIR).started);
  EXPECT_EQ(ResolveExecutablePath("NoSuchProgram", PROBE_DIR), "");
  EXPECT_EQ(ResolveExecutablePath("ProbeProg.exe", PROBE_DIR), std::string(PROBE_DIR) + "ProbeProg");
}

TEST(Process, FindOnPathTakesTheFirstExecutableFileOfItsExactName) {
  TempDir a, b;
  std::filesystem::create_directory(a.file("tool"));  // a folder is not a program
  b.write("notexec", "");
  b.write("tool", "#!/bin/sh\n");
  std::filesystem::permissions(b.file("tool"), std::filesystem::perms::owner_all);
  a.write("Tool", "#!/bin/sh\n");
  std::filesystem::permissions(a.file("Tool"), std::filesystem::perms::owner_all);
  const char* old = std::getenv("PATH");
  const std::string saved = old != nullptr ? old : "";
  const std::string folders = "::" + a.path() + ":" + b.path();
  setenv("PATH", folders.c_str(), 1);
  EXPECT_EQ(FindOnPath("tool"), b.path() + "/tool");
  EXPECT_EQ(FindOnPath("Tool"), a.path() + "/Tool");
  EXPECT_EQ(FindOnPath("notexec"), "");
  EXPECT_EQ(FindOnPath("missing"), "");
  EXPECT_EQ(FindOnPath(b.file("tool")), "");  // a path is not searched
  setenv("PATH", saved.c_str(), 1);
}
