// A double-click or Enter on an error line opens the file in an editor (the
// open one when there is one) and selects the erroneous line.
#include <unistd.h>

#include <QTest>

#include "build_fixture.h"

namespace {

using buildtest::BuildTest;

std::pair<int, int> Selection(monitor::frmNotePad* editor) {
  return {editor->Text1->SelStart(), editor->Text1->SelLength()};
}

TEST_F(BuildTest, GotoErrorLineOpensTheFileOnceAndSelectsTheLine) {
  files.write("Main.asm", "; one\r\nSTART: LDI 0\r\n  FOO\r\n  JMP START\r\n");
  files.write("one.asm", "NOP");
  ASSERT_EQ(symlink(files.file("Main.asm").c_str(), files.file("alias.asm").c_str()), 0);
  Begin();
  const std::string main = files.file("Main.asm");
  auto error = [](const std::string& file, const std::string& line) {
    return QString::fromStdString(file + " ERROR 100: Unknown Instruction; line " + line + " - X");
  };
  // The file in another case, line 1, a one-line file, past the end, below
  // 0, no number, and the same file under a symbolic link's name.
  for (const QString& item :
       {error(files.file("MAIN.ASM"), "0002"), error(main, "0000"),
        error(files.file("one.asm"), "0000"), error(main, "0009"), error(main, "-001"),
        QString::fromStdString(main + " ERROR 17: 17"), error(files.file("alias.asm"), "0003"),
        QString("Main.asm; line 0001")})
    LoadOut()->AddLine(item);
  DoubleClick(0);
  ASSERT_EQ(SlotsInUse(), 1);
  monitor::frmNotePad* editor = Editor(1);
  EXPECT_EQ(editor->Path(), main);
  EXPECT_EQ(Selection(editor), std::make_pair(19, 5));
  EXPECT_EQ(Active(), editor);
  Enter(1);
  EXPECT_EQ(Selection(editor), std::make_pair(0, 5));
  DoubleClick(2);
  ASSERT_EQ(SlotsInUse(), 2);
  EXPECT_EQ(Selection(Editor(2)), std::make_pair(0, 3));
  for (int row : {3, 4, 5}) {
    editor->Text1->SetSelection(7, 2);
    Enter(row);
    EXPECT_EQ(Active(), editor);
    EXPECT_EQ(Selection(editor), row == 5 ? std::make_pair(7, 2) : std::make_pair(0, 0)) << row;
  }
  editor->SetWindowState(1);
  Enter(6);
  EXPECT_EQ(editor->WindowState(), 0);
  EXPECT_EQ(editor->Text1->SelText(), "  JMP START");
  // Neither another key nor a line without "ERROR" does anything.
  editor->Text1->SetSelection(0, 0);
  Out()->ErrorList->setCurrentRow(0);
  QTest::keyClick(Out()->ErrorList, Qt::Key_Space);
  Enter(7);
  EXPECT_EQ(Selection(editor), std::make_pair(0, 0));
  EXPECT_EQ(SlotsInUse(), 2);
  EXPECT_TRUE(boxes.empty());
}

TEST_F(BuildTest, GotoErrorLineWithoutAFileDoesNothingAndAMissingFileIsSaid) {
  Begin();
  for (const char* item : {" 1 Errors", " ERROR 700: Unable to open File; line -001 - x"})
    LoadOut()->AddLine(item);
  LoadOut()->AddLine(
      QString::fromStdString(files.file("abERRORS/a.asm") + " ERROR 100: x; line 0000"));
  Out()->ErrorList->setCurrentRow(-1);
  QTest::keyClick(Out()->ErrorList, Qt::Key_Return);
  Enter(0);
  Enter(1);
  EXPECT_EQ(SlotsInUse(), 0);
  EXPECT_TRUE(boxes.empty());
  // "ERROR" in a folder name cuts the file name there.
  Enter(2);
  EXPECT_EQ(SlotsInUse(), 0);
  EXPECT_EQ(boxes, buildtest::Rows{"Tavix|Can't open file: " + files.file("a") + "|0"});
}

}  // namespace
