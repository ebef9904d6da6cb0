// A double-click or Enter on an error line opens the file in an editor (the
// open one when there is one) and selects the erroneous line.
#include <sys/stat.h>
#include <unistd.h>

#include <QTest>

#include "build_fixture.h"

namespace {

using buildtest::BuildTest;

class GotoErrorLineTest : public BuildTest {
 protected:
  // Lists the items in BuildOut.
  void List(const std::vector<std::string>& items) {
    if (Out() == nullptr) LoadOut();
    Out()->ClearList();
    for (const std::string& item : items) Out()->AddLine(QString::fromStdString(item));
  }
  // Double-clicks item `row` of the list.
  void DoubleClick(int row) {
    QListWidget* list = Out()->ErrorList;
    const QRect place = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, place.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, place.center());
  }
  void Enter(int row) {
    Out()->ErrorList->setCurrentRow(row);
    QTest::keyClick(Out()->ErrorList, Qt::Key_Return);
  }
  std::string Error(const std::string& file, const std::string& line) {
    return file + " ERROR 100: Unknown Instruction; line " + line + " - FOO";
  }
  std::pair<int, int> Selection(monitor::frmNotePad* editor) {
    return {editor->Text1->SelStart(), editor->Text1->SelLength()};
  }
};

TEST_F(GotoErrorLineTest, OpensTheFileOnceAndSelectsTheLine) {
  files.write("Main.asm", "; one\r\nSTART: LDI 0\r\n  FOO\r\n  JMP START\r\n");
  files.write("one.asm", "NOP");
  Begin();
  // The assembler names the file as it found it; here another case.
  List({"Assembly of x", Error(files.file("MAIN.ASM"), "0002"), Error(files.file("Main.asm"), "0000"),
        Error(files.file("one.asm"), "0000"), Error(files.file("Main.asm"), "0009"),
        Error(files.file("Main.asm"), "-001"), files.file("Main.asm") + " ERROR 17: 17"});
  DoubleClick(1);
  ASSERT_EQ(SlotsInUse(), 1);
  monitor::frmNotePad* editor = Editor(1);
  EXPECT_EQ(editor->Path(), files.file("Main.asm"));
  EXPECT_EQ(Selection(editor), std::make_pair(19, 5));
  EXPECT_EQ(editor->Text1->SelText(), "  FOO");
  EXPECT_EQ(Active(), editor);
  EXPECT_TRUE(boxes.empty());

  // Line 1, no second window; a one-line file selects its line; past the end
  // and below 0 the caret goes to 0; without a line number nothing moves.
  Enter(2);
  EXPECT_EQ(Selection(editor), std::make_pair(0, 5));
  DoubleClick(3);
  ASSERT_EQ(SlotsInUse(), 2);
  EXPECT_EQ(Selection(Editor(2)), std::make_pair(0, 3));
  editor->Text1->SetSelection(7, 2);
  Enter(4);
  EXPECT_EQ(Active(), editor);
  EXPECT_EQ(Selection(editor), std::make_pair(0, 0));
  editor->Text1->SetSelection(7, 2);
  Enter(5);
  EXPECT_EQ(Selection(editor), std::make_pair(0, 0));
  editor->Text1->SetSelection(7, 2);
  Enter(6);
  EXPECT_EQ(Selection(editor), std::make_pair(7, 2));
  EXPECT_EQ(SlotsInUse(), 2);

  // A minimized editor is restored; the file under a symbolic link's name is
  // the same file.
  ASSERT_EQ(symlink(files.file("Main.asm").c_str(), files.file("alias.asm").c_str()), 0);
  editor->SetWindowState(1);
  List({Error(files.file("alias.asm"), "0003")});
  Enter(0);
  EXPECT_EQ(editor->WindowState(), 0);
  EXPECT_EQ(SlotsInUse(), 2);
  EXPECT_EQ(editor->Text1->SelText(), "  JMP START");
  // Other keys do nothing.
  editor->Text1->SetSelection(0, 0);
  Out()->ErrorList->setCurrentRow(0);
  QTest::keyClick(Out()->ErrorList, Qt::Key_Space);
  EXPECT_EQ(Selection(editor), std::make_pair(0, 0));
}

TEST_F(GotoErrorLineTest, ItemsWithoutAFileDoNothingAndAMissingFileIsSaid) {
  files.write("a.asm", "NOP\r\n");
  Begin();
  List({"", " 1 Errors", "ERROR 700: Unable to open File; line -001 - x",
        " ERROR 700: Unable to open File; line -001 - x", "no error; line 0000",
        files.file("abERRORS/a.asm") + " ERROR 100: x; line 0000 - y"});
  // Nothing selected: nothing happens.
  Out()->ErrorList->setCurrentRow(-1);
  QTest::keyClick(Out()->ErrorList, Qt::Key_Return);
  for (int row = 0; row < 5; ++row) Enter(row);
  EXPECT_EQ(SlotsInUse(), 0);
  EXPECT_TRUE(boxes.empty());
  // "ERROR" in a folder name cuts the file name there.
  Enter(5);
  EXPECT_EQ(SlotsInUse(), 0);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Tavix|Can't open file: " + files.file("a") + "|0");
}

}  // namespace
