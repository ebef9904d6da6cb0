// The main window's ROM characteristic command and the hand-over of a .cod
// file to the outside converter.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "platform/clock.h"
#include "tools_fixture.h"
#include "wait_until.h"

namespace {

using toolstest::ToolsTest;

class CodeFileCommandsTest : public ToolsTest {
 protected:
  // Image of two words.
  std::string Image(const std::string& name) {
    work.write(name, std::string("\x10\x00\x20\x05", 4));
    return work.file(name);
  }
  // A stand-in for the outside converter: appends "<tag>:<argument count>:<arguments>" to the log.
  void FakeConverter(const std::string& folder, const std::string& tag) {
    const std::string path = folder + "binmake";
    testsupport::WriteFile(path, "#!/bin/sh\nprintf '%s:%s:%s\\n' " + tag + " \"$#\" \"$*\" >> '" +
                                     work.file("converted.log") + "'\n");
    chmod(path.c_str(), 0700);
  }
  std::string ConverterLog(size_t lines) {
    testsupport::WaitUntil(
        [&] {
          const std::string log = work.read("converted.log");
          return static_cast<size_t>(std::count(log.begin(), log.end(), '\n')) >= lines;
        },
        5000);
    return work.read("converted.log");
  }
};

TEST_F(CodeFileCommandsTest, RomCharacteristicFileOfAPickedImageBesideIt) {
  state.SourceFile = work.file("proj.v2/MAIN.ASM");
  Start();
  // The proposal is shown first, then the dialog opens with it.
  std::vector<std::string> order;
  platform::SetMessageBoxHook(
      [&](const std::string& text, const std::string& title, unsigned style) {
        order.push_back("box|" + title + "|" + text + "|" + std::to_string(style));
        return 1;
      });
  ScriptDialogs({{Image("MAIN.bin")}});
  Click("mnuDisassembleBinary");
  order.push_back(dialogs.at(0));
  EXPECT_EQ(order, (std::vector<std::string>{"box|Tavix|" + work.file("proj.v2/MAIN.bin") + "|0",
                                             "CMDialog1|Binary File|BIN Files (*.bin)|*.bin|" +
                                                 work.file("proj.v2/MAIN.bin") + "|1|on"}));
  // The picked image is read as it is named; only base + ".STA" is written.
  EXPECT_TRUE(std::filesystem::exists(work.file("MAIN.STA")));
  EXPECT_NE(work.read("MAIN.STA").find("MAIN.bin"), std::string::npos);
  for (const char* other : {"MAIN.asm", "MAIN.prt", "MAIN.sym", "MAIN.xrf", "MAIN"}) {
    EXPECT_FALSE(std::filesystem::exists(work.file(other))) << other;
  }

  // Any case of ".bin" is taken; another extension, the untouched pattern and
  // a cancel write nothing.
  ScriptDialogs({{Image("main.Bin")}, {Image("code.img")}, {"*.bin"}, {"", true}});
  for (int i = 0; i < 4; ++i) Click("mnuDisassembleBinary");
  EXPECT_TRUE(std::filesystem::exists(work.file("main.STA")));
  EXPECT_FALSE(std::filesystem::exists(work.file("code.STA")));
  EXPECT_EQ(dialogs.size(), 5u);
  EXPECT_EQ(order.size(), 1u + 5u);  // one proposal box each, nothing else

  state.SourceFile.clear();
  ScriptDialogs({});
  Click("mnuDisassembleBinary");
  EXPECT_EQ(order.back(), "box|Tavix|*.bin|0");
}

TEST_F(CodeFileCommandsTest, ConverterGetsTheNameAsOneArgumentAndNeverRunsOnACancel) {
  FakeConverter(program.path(), "folder");
  Start();
  const std::string blank = work.file("my code.cod");
  ScriptDialogs({{blank}, {"", true}, {work.file("second.cod")}});
  Click("mnuConvertCodToBin");
  EXPECT_EQ(ConverterLog(1), "folder:1:" + blank + "\n");
  Click("mnuConvertCodToBin");  // cancel after a pick: the old name stays, nothing runs
  Click("mnuConvertCodToBin");
  EXPECT_EQ(ConverterLog(2), "folder:1:" + blank + "\nfolder:1:" + work.file("second.cod") + "\n");
  EXPECT_EQ(dialogs[0], "monitorCMD||COD Files (*.cod)|*.cod|All Files (*.*)|*.*||1|off");
  EXPECT_EQ(dialogs[1],
            "monitorCMD||COD Files (*.cod)|*.cod|All Files (*.*)|*.*|" + blank + "|1|off");

  // Found only along PATH.
  std::filesystem::remove(program.file("binmake"));
  testsupport::TempDir tools;
  FakeConverter(tools.path(), "path");
  const char* old = std::getenv("PATH");
  const std::string saved = old != nullptr ? old : "";
  setenv("PATH", (tools.path() + ":" + saved).c_str(), 1);
  ScriptDialogs({{work.file("third.cod")}});
  Click("mnuConvertCodToBin");
  EXPECT_NE(ConverterLog(3).find("path:1:" + work.file("third.cod") + "\n"), std::string::npos);

  // No converter anywhere: silent.
  setenv("PATH", saved.c_str(), 1);
  ScriptDialogs({{work.file("fourth.cod")}});
  Click("mnuConvertCodToBin");
  testsupport::RunEventsFor(100);
  EXPECT_EQ(ConverterLog(3).find("fourth"), std::string::npos);
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
