// The ROM characteristic command and the hand-over of a .cod file to a
// stand-in for the outside converter binmake.
#include <sys/stat.h>

#include <filesystem>

#include "tools_fixture.h"
#include "wait_until.h"

namespace {

class CodeFileCommandsTest : public toolstest::ToolsTest {
 protected:
  // A converter that logs "<tag>:<argument count>:<arguments>".
  void FakeConverter(const std::string& folder, const std::string& tag) {
    testsupport::WriteFile(
        folder + "binmake",
        "#!/bin/sh\nprintf '" + tag + ":%s:%s\\n' \"$#\" \"$*\" >> '" + work.file("log") + "'\n");
    chmod((folder + "binmake").c_str(), 0700);
  }
  std::string Log(long lines) {
    testsupport::WaitUntil([&] { return std::ranges::count(work.read("log"), '\n') >= lines; },
                           5000);
    return work.read("log");
  }
};

TEST_F(CodeFileCommandsTest, RomCharacteristicFileOfAPickedImageBesideIt) {
  state.SourceFile = work.file("proj.v2/MAIN.ASM");
  Start();
  for (const char* image : {"MAIN.bin", "main.Bin", "code.img"})
    work.write(image, std::string("\x10\x00\x20\x05", 4));
  answers = {work.file("MAIN.bin"), work.file("main.Bin"), work.file("code.img"), "*.bin", ""};
  for (int i = 0; i < 5; ++i) Click("mnuDisassembleBinary");
  // Each time the proposal is shown first, then the dialog opens with it.
  const std::string proposal = work.file("proj.v2/MAIN.bin");
  EXPECT_EQ(boxes, std::vector<std::string>(5, "Tavix|" + proposal + "|0"));
  EXPECT_EQ(dialogs[0], "CMDialog1|Binary File|BIN Files (*.bin)|*.bin|" + proposal + "|1|on");
  // The picked image is read as named; only <base>.STA is written, for any
  // case of ".bin".
  EXPECT_NE(work.read("MAIN.STA").find(work.file("MAIN.bin")), std::string::npos);
  EXPECT_NE(work.read("main.STA").find(work.file("main.Bin")), std::string::npos);
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(work.path()))
    files.push_back(entry.path().filename());
  std::ranges::sort(files);
  EXPECT_EQ(files,
            (std::vector<std::string>{"MAIN.STA", "MAIN.bin", "code.img", "main.Bin", "main.STA"}));

  state.SourceFile = "MAIN.ASM";  // in the project's folder
  state.ProjectFile = work.file("proj.v2/P.prj");
  Click("mnuDisassembleBinary");
  EXPECT_EQ(boxes.back(), "Tavix|" + proposal + "|0");
  state.SourceFile.clear();
  Click("mnuDisassembleBinary");
  EXPECT_EQ(boxes.back(), "Tavix|*.bin|0");
}

TEST_F(CodeFileCommandsTest, ConverterGetsTheNameAsOneArgumentAndNeverRunsOnACancel) {
  FakeConverter(program.path(), "folder");
  Start();
  const std::string blank = work.file("my code.cod");
  answers = {blank, "", work.file("b.cod")};
  // The converter runs detached: each run's line is awaited before the next
  // click, so the log keeps the order of the clicks.
  for (long run : {1, 1, 2}) {
    Click("mnuConvertCodToBin");
    Log(run);
  }
  EXPECT_EQ(Log(2), "folder:1:" + blank + "\nfolder:1:" + work.file("b.cod") + "\n");
  EXPECT_EQ(dialogs[0], "monitorCMD||COD Files (*.cod)|*.cod|All Files (*.*)|*.*||1|off");
  EXPECT_EQ(dialogs[1],
            "monitorCMD||COD Files (*.cod)|*.cod|All Files (*.*)|*.*|" + blank + "|1|off");

  // Found only along PATH; then nowhere, silently.
  std::filesystem::remove(program.file("binmake"));
  testsupport::TempDir tools;
  FakeConverter(tools.path(), "path");
  const std::string saved = std::getenv("PATH");
  setenv("PATH", (tools.path() + ":" + saved).c_str(), 1);
  answers = {work.file("c.cod")};
  Click("mnuConvertCodToBin");
  EXPECT_NE(Log(3).find("path:1:" + work.file("c.cod")), std::string::npos);
  setenv("PATH", saved.c_str(), 1);
  answers = {work.file("d.cod")};
  Click("mnuConvertCodToBin");
  testsupport::RunEventsFor(100);
  EXPECT_EQ(Log(3).find("d.cod"), std::string::npos);
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
