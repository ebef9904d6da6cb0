// End to end: the real K42xxasm of the program folder builds a project's
// source over the real link into BuildOut; a double-click on the error line
// selects it in an editor; the fix is saved by the next build, which is clean.
// The project values are set in the monitor's state as a loaded project
// leaves them.
#include <sys/stat.h>

#include <QTest>

#include "build_fixture.h"
#include "core/monitorform.h"

namespace {

using buildtest::Rows;

class BuildEndToEndTest : public buildtest::BuildTest {
 protected:
  void SetUp() override { InstallAssembler(); }
};

TEST_F(BuildEndToEndTest, BuildJumpToTheErrorFixAndBuildAgain) {
  files.write("main.asm", "; demo\r\nSTART:  LDI 0\r\n        FOO\r\n        JMP START\r\n");
  state.SourceFile = "main.asm";
  state.ProjectFile = files.file("demo.prj");
  state.ControllerName = "QV4234";
  monitor::Monitorform* frame = Begin();
  QAction* build = frame->Menu("buildprojmnu");
  EXPECT_EQ(build->shortcut().toString(), "Shift+F8");
  ASSERT_TRUE(build->isEnabled());
  build->trigger();
  ASSERT_NE(Out(), nullptr);
  EXPECT_EQ(Out()->Caption(), "Output");
  WaitForBuild();
  const std::string source = files.file("main.asm");
  const Rows failed{"Corvane - K42XX Microcontroller assembler",
                    "",
                    "Assembly of " + files.file("main.ASM"),
                    "",
                    source + " ERROR 100: Unknown Instruction; line 0002 - FOO",
                    "",
                    " 1 Errors"};
  ASSERT_EQ(Lines(), failed);

  DoubleClick(4);
  ASSERT_EQ(SlotsInUse(), 1);
  monitor::frmNotePad* editor = Editor(1);
  EXPECT_EQ(editor->Path(), source);
  EXPECT_EQ(editor->Text1->SelStart(), 21);
  EXPECT_EQ(editor->Text1->SelLength(), 11);
  DoubleClick(4);
  EXPECT_EQ(SlotsInUse(), 1);

  // The fix is typed over the selection; Shift+F8 in the editor saves it and
  // builds again into the cleared list.
  frame->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  QTest::keyClicks(editor->Text1, "        NOP");
  QTest::keyClick(editor->Text1, Qt::Key_F8, Qt::ShiftModifier);
  EXPECT_EQ(Lines().size(), 0u);
  WaitForBuild();
  EXPECT_EQ(testsupport::ReadFile(source),
            "; demo\r\nSTART:  LDI 0\r\n        NOP\r\n        JMP START\r\n");
  EXPECT_EQ(Lines(), (Rows{failed[0], "", failed[2], "", "", "Generating Rom characteristic file",
                           "", " 0 Errors", "", "Prog-Size=0003", ""}));
  EXPECT_EQ(state.ProgramSize, 3);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(BuildEndToEndTest, AssembleBuildsThePickedFileAndABigProgramGetsTheCaution) {
  const std::string folder = files.file("my src/");
  mkdir(folder.c_str(), 0700);
  testsupport::WriteFile(folder + "Tool.Asm", "        ORG 5DCH\r\n        NOP\r\n");
  state.ControllerName = "QV4234";
  Begin();
  OpenNewEditor(bench);
  // Cancelled, "*.asm" left as it was, or not an ".ASM" file: nothing starts.
  fileAnswers = {std::nullopt, std::string("*.asm"), folder + "Tool.txt"};
  for (int i = 0; i < 3; ++i) Click(Active(), "assemblermnu");
  EXPECT_EQ(Out(), nullptr);
  ASSERT_TRUE(lastDialog);
  EXPECT_EQ(lastDialog->DialogTitle, "Assembler Source File");
  EXPECT_EQ(lastDialog->Filter, "ASM Files (*.asm)|*.asm");
  EXPECT_EQ(lastDialog->FileName, "*.asm");

  fileAnswers = {folder + "Tool.Asm"};
  Click(Active(), "assemblermnu");
  WaitForBuild();
  const Rows lines = Lines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines[2].substr(0, 12 + folder.size() + 5), "Assembly of " + folder + "Tool.");
  EXPECT_EQ(Rows(lines.end() - 3, lines.end()),
            (Rows{"Prog-Size=1501", "    CAUTION: Code too big for the QV4234 !!!", ""}));
  EXPECT_EQ(state.ProgramSize, 1501);
  struct stat info {};
  EXPECT_EQ(stat((folder + "Tool.bin").c_str(), &info), 0);
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
