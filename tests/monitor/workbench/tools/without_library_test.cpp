// A program folder without K42XXDIS, in a process that never bound it.
#include <filesystem>

#include "tools_fixture.h"
#include "workbench/tools/dissassamble_params.h"

namespace {

class WithoutLibraryTest : public toolstest::ToolsTest {
 protected:
  WithoutLibraryTest() : ToolsTest(false) {}
};

TEST_F(WithoutLibraryTest, TheRomCommandIsSilentTheDialogSaysSoAndTheBindIsTriedAgain) {
  work.write("MAIN.bin", std::string("\x10\x00", 2));
  state.SourceFile = work.file("MAIN.ASM");
  Start();
  answers = {work.file("MAIN.bin")};
  Click("mnuDisassembleBinary");
  EXPECT_EQ(boxes, (std::vector<std::string>{"Tavix|" + work.file("MAIN.bin") +
                                             "|0"}));  // the proposal only
  EXPECT_FALSE(std::filesystem::exists(work.file("MAIN.STA")));

  boxes.clear();
  Click("disassemblermnu");
  auto* dialog =
      dynamic_cast<monitor::Dissassamble_params*>(state.Forms.Get("Dissassamble_params"));
  ASSERT_NE(dialog, nullptr);
  dialog->Command1->click();
  EXPECT_EQ(boxes, (std::vector<std::string>{"Tavix|Unable to find the file K42xxDIS.DLL|0"}));
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(platform::WaitCursor::Depth(), 0);
  EXPECT_FALSE(std::filesystem::exists(work.file("MAIN.asm")));

  // Once the library is there, the next run binds it.
  LinkFromDist("K42XXDIS.so");
  dialog->Command1->click();
  EXPECT_EQ(boxes.size(), 1u);
  for (const char* output : {"MAIN.asm", "MAIN.prt", "MAIN.sym", "MAIN.sta", "MAIN.xrf"}) {
    EXPECT_TRUE(std::filesystem::exists(work.file(output))) << output;
  }
}

}  // namespace
