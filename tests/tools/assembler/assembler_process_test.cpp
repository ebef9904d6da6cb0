// The real K42xxasm of the program folder, run as a process: outputs compared
// to the byte with golden files, the lines poked to a link test server, and
// the failure paths of a build.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <algorithm>
#include <filesystem>

#include "assembler_runner.h"
#include "link_test_server.h"
#include "temp_dir.h"

namespace {

namespace fs = std::filesystem;
using asmtest::Golden;
using asmtest::RunAssemblerProcess;

std::string Source(const std::string& name) {
  return testsupport::ReadFile(std::string(TAVIX_SOURCE_DIR) + "tests/tools/assembler/sources/" +
                               name);
}

class AssemblerProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    linkDir_ = temp_.path() + "link";
    setenv("TAVIX_LINK_DIR", linkDir_.c_str(), 1);
    work_ = temp_.path() + "Work/";
    fs::create_directories(work_);
    testsupport::WriteFile(work_ + "demo.asm", Source("demo.asm"));
    testsupport::WriteFile(work_ + "defs.inc", Source("defs.inc"));
    testsupport::WriteFile(work_ + "broken.asm", Source("broken.asm"));
  }
  void TearDown() override { unsetenv("TAVIX_LINK_DIR"); }

  testsupport::TempDir temp_;
  std::string linkDir_;
  std::string work_;
};

TEST_F(AssemblerProcessTest, CleanBuildPokesElevenLinesAndWritesGoldenFiles) {
  testsupport::LinkTestServer server;
  ASSERT_TRUE(server.listening());
  // The monitor's form: switches run together, the path without ".asm"
  // (relative here, so the golden files hold no temporary folder).
  asmtest::ProcessRun run = RunAssemblerProcess({"/D/sdemo"}, linkDir_, "", work_);
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(server.lines(),
            (std::vector<std::string>{
                "Corvane - K42XX Microcontroller assembler", "", "Assembly of demo.ASM", "", "",
                "Generating Rom characteristic file", "", " 0 Errors", "", "Prog-Size=0020", ""}));
  EXPECT_EQ(testsupport::ReadFile(work_ + "demo.err"), "");
  EXPECT_EQ(testsupport::ReadFile(work_ + "demo.prn"), Golden("demo.prn"));
  EXPECT_EQ(testsupport::ReadFile(work_ + "demo.sym"), Golden("demo.sym"));
  EXPECT_EQ(testsupport::ReadFile(work_ + "demo.bin"), Golden("demo.bin"));
  EXPECT_TRUE(fs::exists(work_ + "demo.STA"));
  // Contract with the monitor's listing reader: no ":" in the header lines.
  for (const std::string& line : asmtest::CrlfLines(testsupport::ReadFile(work_ + "demo.prn")))
    if (line.rfind(";", 0) == 0) {
      EXPECT_EQ(line.find(':'), std::string::npos) << line;
    }
}

TEST_F(AssemblerProcessTest, FailedBuildKeepsEarlierOutputsAndReportsItsErrors) {
  for (const char* ext : {"bin", "prn", "sym", "STA"}) {
    std::string path = work_ + "broken." + ext;
    testsupport::WriteFile(path, std::string("old ") + ext);
    utimbuf times{1000000000, 1000000000};
    utime(path.c_str(), &times);
  }
  testsupport::WriteFile(work_ + "broken.err", "an earlier run's line\r\n");
  testsupport::LinkTestServer server;
  asmtest::ProcessRun run = RunAssemblerProcess({"/D", "/S", "broken.asm"}, linkDir_, "", work_);
  EXPECT_EQ(run.exitCode, 1);
  for (const char* ext : {"bin", "prn", "sym", "STA"}) {
    std::string path = work_ + "broken." + ext;
    EXPECT_EQ(testsupport::ReadFile(path), std::string("old ") + ext);
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mtime, 1000000000);
  }
  EXPECT_EQ(testsupport::ReadFile(work_ + "broken.err"), Golden("broken.err"));
  std::string file = "broken.asm";
  EXPECT_EQ(server.lines(),
            (std::vector<std::string>{
                "Corvane - K42XX Microcontroller assembler", "", "Assembly of " + file, "",
                file + " ERROR 100: Unknown Instruction; line 0002 - FOO",
                file + " ERROR 200: Undefined Variable or Constant; line 0003 - NOWHERE", "",
                " 2 Errors"}));
}

TEST_F(AssemblerProcessTest, LinksPlantedAtTheOutputsAreReplacedNeverFollowed) {
  const std::string outside = temp_.path() + "outside";
  testsupport::WriteFile(outside, "not the assembler's");
  const char* outputs[] = {"demo.err", "demo.bin", "demo.sym", "demo.prn", "demo.STA", "broken.err"};
  for (const char* name : outputs) fs::create_symlink(outside, work_ + name);
  EXPECT_EQ(RunAssemblerProcess({"/D/sdemo"}, linkDir_, "", work_).exitCode, 0);
  EXPECT_EQ(RunAssemblerProcess({"/D", "/S", "broken.asm"}, linkDir_, "", work_).exitCode, 1);
  EXPECT_EQ(testsupport::ReadFile(outside), "not the assembler's");
  for (const char* name : outputs) EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(work_ + name))) << name;
  EXPECT_EQ(testsupport::ReadFile(work_ + "broken.err"), Golden("broken.err"));
}

TEST_F(AssemblerProcessTest, MissingOutputFolderGivesThePathNotFoundLinesOnly) {
  testsupport::LinkTestServer server;
  std::string base = work_ + "nofolder/demo";
  asmtest::ProcessRun run = RunAssemblerProcess({"/D/s" + base}, linkDir_);
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(server.lines(),
            (std::vector<std::string>{"Corvane - K42XX Microcontroller assembler", "",
                                      "Assembly of " + base + ".ASM", "",
                                      "Path not found : " + base + ".err", "", "1 Errors"}));
  EXPECT_FALSE(fs::exists(work_ + "nofolder"));
  // Standard error names the file that could not be made.
  EXPECT_EQ(run.standardError, "K42xxasm: cannot create the error file " + base + ".err\n");
}

TEST_F(AssemblerProcessTest, WithoutADisplayTheDebugModeSaysSoAndAFolderIsAMissingSource) {
  // No display and no "/D": one line and the failure code, nothing built.
  asmtest::ProcessRun run = RunAssemblerProcess({"/s" + work_ + "demo"}, linkDir_, "", "",
                                                {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.standardError,
            "K42xxasm: the debug window needs a display; /D builds without it\n");
  EXPECT_FALSE(fs::exists(work_ + "demo.err"));

  // A folder named as the source, and another included, are files that
  // cannot be opened: two errors, no abort.
  fs::create_directories(work_ + "dir.asm");
  fs::create_directories(work_ + "SUB");
  testsupport::WriteFile(work_ + "inc.asm", " INCLUDE SUB\n NOP\n");
  testsupport::LinkTestServer server;
  EXPECT_EQ(RunAssemblerProcess({"/D/s" + work_ + "dir.asm"}, linkDir_).exitCode, 1);
  EXPECT_EQ(RunAssemblerProcess({"/D/s" + work_ + "inc"}, linkDir_).exitCode, 1);
  const std::vector<std::string> lines = server.lines();
  EXPECT_EQ(std::count_if(
                lines.begin(), lines.end(),
                [](const std::string& l) { return l.find(" ERROR 700: ") != std::string::npos; }),
            2);
}

TEST_F(AssemblerProcessTest, WithoutListeningMonitorTheBuildEndsPromptly) {
  asmtest::ProcessRun run = RunAssemblerProcess({"/D/s" + work_ + "demo"}, linkDir_);
  EXPECT_EQ(run.exitCode, 0);
  // Well inside the link's 10 s answer time-out that a waiting build would spend.
  EXPECT_LT(run.millis, 8000);
  for (const char* ext : {"err", "bin", "prn", "sym", "STA"})
    EXPECT_TRUE(fs::exists(work_ + "demo." + ext)) << ext;
}

TEST_F(AssemblerProcessTest, PathsWithSwitchLikeFoldersKeepTheirCase) {
  // "/d" and "/s" inside the path are not switches; the folder keeps its case.
  std::string folder = temp_.path() + "d/s/My.Dir/";
  fs::create_directories(folder);
  testsupport::WriteFile(folder + "Prog.asm", " NOP\n");
  testsupport::LinkTestServer server;
  EXPECT_EQ(RunAssemblerProcess({"/d/s", folder + "prog"}, linkDir_).exitCode, 0);
  // Found as Prog.asm; the outputs carry the name as given.
  EXPECT_EQ(testsupport::ReadFile(folder + "prog.bin"), std::string("\xF0\xFF", 2));
  EXPECT_TRUE(fs::exists(folder + "prog.err"));
  ASSERT_GE(server.lines().size(), 3u);
  EXPECT_EQ(server.lines()[2], "Assembly of " + folder + "prog.ASM");
}

TEST_F(AssemblerProcessTest, ProgramFolderWithoutATableFileReportsItUncounted) {
  // A copy of the program without operator.ini and without the disassembler.
  std::string dist = temp_.path() + "dist/";
  fs::create_directories(dist);
  fs::copy_file(std::string(TAVIX_DIST_DIR) + "K42xxasm", dist + "K42xxasm");
  for (const char* ini : {"condirec.ini", "instruct.ini", "directiv.ini"})
    fs::copy_file(std::string(TAVIX_DIST_DIR) + ini, dist + ini);
  testsupport::WriteFile(work_ + "nop.asm", " NOP\n");
  testsupport::LinkTestServer server;
  asmtest::ProcessRun run =
      RunAssemblerProcess({"/D/s" + work_ + "nop"}, linkDir_, dist + "K42xxasm");
  EXPECT_EQ(run.exitCode, 0);
  std::vector<std::string> lines = server.lines();
  ASSERT_EQ(lines.size(), 13u);
  EXPECT_EQ(lines[4], " ERROR 700: Unable to open File; line -0001 - " + dist + "operator.ini");
  EXPECT_EQ(lines[6], "Generating Rom characteristic file");
  EXPECT_EQ(lines[7], "Unable to find the file K42xxDIS.DLL");
  EXPECT_EQ(lines[9], " 0 Errors");
  EXPECT_EQ(lines[11], "Prog-Size=0001");
  EXPECT_EQ(testsupport::ReadFile(work_ + "nop.err"), " 0000:" + std::string(8, ' ') +
                                                          " Error 700:" + std::string(3, ' ') +
                                                          dist + "operator.ini\r\n");
  // A folder as the table file reads as a missing one.
  fs::create_directories(dist + "operator.ini");
  RunAssemblerProcess({"/D/s" + work_ + "nop"}, linkDir_, dist + "K42xxasm");
  ASSERT_EQ(server.lines().size(), 26u);
  EXPECT_EQ(server.lines()[17], lines[4]);
}

TEST_F(AssemblerProcessTest, ALineOfMegabytesKeepsTheLinkAndTheErrorFileKeepsTheLine) {
  const std::string word(1200000, 'Q');
  testsupport::WriteFile(work_ + "long.asm", " " + word + "\r\n FOO\r\n");
  testsupport::LinkTestServer server;
  EXPECT_EQ(RunAssemblerProcess({"/D/s" + work_ + "long"}, linkDir_).exitCode, 1);
  const std::vector<std::string> lines = server.lines();
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_EQ(lines[4].size(), 4096u);
  EXPECT_NE(lines[5].find("ERROR 100: Unknown Instruction; line 0001 - FOO"), std::string::npos);
  EXPECT_EQ(lines[7], " 2 Errors");
  EXPECT_NE(testsupport::ReadFile(work_ + "long.err").find(word), std::string::npos);
}

}  // namespace
