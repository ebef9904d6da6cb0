// The dialog "DISSASSEMBLE OPTIONS": its proposals, focus and Browse, and the
// real K42XXDIS behind Disassemble.
#include "workbench/tools/dissassamble_params.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "tools_fixture.h"

namespace {

using monitor::Dissassamble_params;
using toolstest::ToolsTest;

class DisassembleDialogTest : public ToolsTest {
 protected:
  Dissassamble_params* Open() {
    if (state.MainForm() == nullptr) Start();
    Click("disassemblermnu");
    return dynamic_cast<Dissassamble_params*>(state.Forms.Get("Dissassamble_params"));
  }
  static std::vector<std::string> Texts(const Dissassamble_params& d) {
    std::vector<std::string> texts;
    for (QLineEdit* box : {d.BINfile, d.ASMfile, d.PRTfile, d.SYMfile, d.STATfile, d.XREFfile}) {
      texts.push_back(box->text().toStdString());
    }
    return texts;
  }
  static void Focus(QWidget* widget) {
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(widget, &in);
  }
  // A code image of four words, high byte first.
  std::string Image(const std::string& name) {
    work.write(name, std::string("\x10\x00\x20\x05\x30\x0A\x00\x00", 8));
    return work.file(name);
  }
  std::vector<std::string> Outputs(const std::string& base) const {
    std::vector<std::string> found;
    for (const char* ext : {"asm", "prt", "sym", "sta", "xrf"}) {
      if (std::filesystem::exists(work.file(base + "." + ext))) found.push_back(ext);
    }
    return found;
  }
};

TEST_F(DisassembleDialogTest, ProposesTheSourceBaseNameHoldsTheInputAndClosesOnCancel) {
  state.SourceFile = "/w/v1.2/MAIN.ASM";
  Dissassamble_params* dialog = Open();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->Caption(), "DISSASSEMBLE OPTIONS");
  EXPECT_EQ(Texts(*dialog),
            (std::vector<std::string>{"/w/v1.2/MAIN.bin", "/w/v1.2/MAIN.asm", "/w/v1.2/MAIN.prt",
                                      "/w/v1.2/MAIN.sym", "/w/v1.2/MAIN.sta", "/w/v1.2/MAIN.xrf"}));
  EXPECT_EQ(dialog->Flags(), 2 + 4 + 8 + 16 + 32);
  EXPECT_EQ(dialog->FocusedBox(), 1);
  EXPECT_TRUE(dialog->Command3->isEnabled());
  // Application-modal without blocking: the main window takes no input.
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(QApplication::activeModalWidget(), dialog);

  QTest::mouseClick(dialog->Command2, Qt::LeftButton);
  EXPECT_FALSE(state.Forms.IsLoaded("Dissassamble_params"));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  // A file name without "." and no source at all.
  state.SourceFile = "/w/proj.v2/main";
  EXPECT_EQ(Texts(*Open())[4], "/w/proj.v2/main.sta");
  state.Forms.Unload("Dissassamble_params");
  state.SourceFile.clear();
  EXPECT_EQ(Texts(*Open()),
            (std::vector<std::string>{"*.bin", "*.asm", "*.prt", "*.sym", "*.sta", "*.xrf"}));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(DisassembleDialogTest, BrowseActsOnTheLastFocusedFileBoxOnly) {
  state.SourceFile = work.file("MAIN.ASM");
  Dissassamble_params* dialog = Open();
  ScriptDialogs({{work.file("other.bin")}, {work.file("new/never.asm")}, {"", true}});

  Focus(dialog->PRTCheck);
  EXPECT_FALSE(dialog->Command3->isEnabled());
  dialog->Command3_Click();  // after a check box: nothing
  EXPECT_TRUE(dialogs.empty());

  Focus(dialog->BINfile);
  EXPECT_TRUE(dialog->Command3->isEnabled());
  QTest::mouseClick(dialog->Command3, Qt::LeftButton);
  Focus(dialog->ASMfile);
  QTest::mouseClick(dialog->Command3, Qt::LeftButton);
  Focus(dialog->XREFfile);
  QTest::mouseClick(dialog->Command3, Qt::LeftButton);  // cancelled
  EXPECT_EQ(dialogs,
            (std::vector<std::string>{
                "CMDialog1|Binary File|BIN Files (*.bin)|*.bin|" + work.file("MAIN.bin") + "|1|on",
                "CMDialog1|Assembly source to generate|ASM Files (*.asm)|*.asm|" +
                    work.file("MAIN.asm") + "|1|on",
                "CMDialog1|Variable cross reference file|XRF Files (*.xrf)|*.xrf|" +
                    work.file("MAIN.xrf") + "|1|on"}));
  EXPECT_EQ(Texts(*dialog)[0], work.file("other.bin"));
  EXPECT_EQ(Texts(*dialog)[1], work.file("new/never.asm"));  // a name that does not exist yet
  EXPECT_EQ(Texts(*dialog)[5], work.file("MAIN.xrf"));
  EXPECT_TRUE(boxes.empty());
}

TEST_F(DisassembleDialogTest, DisassembleWritesTheTickedFilesThroughTheRealLibraryAndStaysOpen) {
  state.SourceFile = work.file("all.asm");
  Image("all.bin");
  Dissassamble_params* dialog = Open();
  QTest::mouseClick(dialog->Command1, Qt::LeftButton);
  EXPECT_EQ(Outputs("all"), (std::vector<std::string>{"asm", "prt", "sym", "sta", "xrf"}));
  EXPECT_NE(work.read("all.asm").find("JMP           L0000"), std::string::npos)
      << work.read("all.asm");
  EXPECT_EQ(platform::WaitCursor::Depth(), 0);
  EXPECT_TRUE(dialog->isVisible());

  // ASM and XREF alone: flags 34, two files.
  state.Forms.Unload("Dissassamble_params");
  state.SourceFile = work.file("two.asm");
  Image("two.bin");
  dialog = Open();
  for (QCheckBox* check : {dialog->PRTCheck, dialog->SYMCheck, dialog->STATCheck}) check->click();
  EXPECT_EQ(dialog->Flags(), 34);
  dialog->Command1->click();
  EXPECT_EQ(Outputs("two"), (std::vector<std::string>{"asm", "xrf"}));

  // Nothing ticked still calls the library: it reads the image, here missing,
  // and says so through the program's message hook; the dialog stays.
  for (QCheckBox* check : {dialog->ASMCheck, dialog->XREFCheck}) check->click();
  EXPECT_EQ(dialog->Flags(), 0);
  dialog->BINfile->setText(QString::fromStdString(work.file("missing.bin")));
  dialog->ASMfile->setText(QString::fromStdString(work.file("none.asm")));
  dialog->Command1->click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("Error opening binary file"), std::string::npos) << boxes[0];
  EXPECT_FALSE(std::filesystem::exists(work.file("none.asm")));
  EXPECT_TRUE(state.Forms.IsLoaded("Dissassamble_params"));
  EXPECT_TRUE(dialog->isVisible());
}

}  // namespace
