// The dialog "DISSASSEMBLE OPTIONS": proposals, focus, Browse, and the real
// K42XXDIS behind Disassemble.
#include "workbench/tools/dissassamble_params.h"

#include <QApplication>
#include <QFocusEvent>
#include <filesystem>

#include "tools_fixture.h"

namespace {

using Dialog = monitor::Dissassamble_params;

class DisassembleDialogTest : public toolstest::ToolsTest {
 protected:
  Dialog* Open(const std::string& source) {
    state.Forms.Unload("Dissassamble_params");
    state.SourceFile = source;
    if (state.MainForm() == nullptr) Start();
    Click("disassemblermnu");
    return dynamic_cast<Dialog*>(state.Forms.Get("Dissassamble_params"));
  }
  static std::string Texts(const Dialog& d) {
    std::string texts;
    for (QLineEdit* box : {d.BINfile, d.ASMfile, d.PRTfile, d.SYMfile, d.STATfile, d.XREFfile})
      texts += box->text().toStdString() + " ";
    return texts;
  }
  static void Focus(QWidget* widget) {
    QFocusEvent in(QEvent::FocusIn);
    QApplication::sendEvent(widget, &in);
  }
  std::string Written(const std::string& base) const {
    std::string found;
    for (const char* ext : {"asm", "prt", "sym", "sta", "xrf"})
      if (std::filesystem::exists(work.file(base + "." + ext))) found += ext;
    return found;
  }
};

TEST_F(DisassembleDialogTest, ProposesTheBaseNameHoldsTheInputAndBrowsesTheFocusedBox) {
  Dialog* dialog = Open("/w/v1.2/MAIN.ASM");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->Caption(), "DISSASSEMBLE OPTIONS");
  EXPECT_EQ(Texts(*dialog),
            "/w/v1.2/MAIN.bin /w/v1.2/MAIN.asm /w/v1.2/MAIN.prt /w/v1.2/MAIN.sym "
            "/w/v1.2/MAIN.sta /w/v1.2/MAIN.xrf ");
  EXPECT_EQ(dialog->Flags(), 62);
  EXPECT_EQ(dialog->FocusedBox(), 1);
  // Application-modal without blocking; closing gives the input back.
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(QApplication::activeModalWidget(), dialog);
  dialog->Command2->click();
  EXPECT_FALSE(state.Forms.IsLoaded("Dissassamble_params"));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(Texts(*Open("/w/proj.v2/main")).substr(0, 19), "/w/proj.v2/main.bin");
  EXPECT_EQ(Texts(*Open("")), "*.bin *.asm *.prt *.sym *.sta *.xrf ");

  dialog = Open(work.file("M.ASM"));
  answers = {work.file("other.bin"), work.file("new/never.asm"), ""};
  Focus(dialog->PRTCheck);
  EXPECT_FALSE(dialog->Command3->isEnabled());
  dialog->Command3_Click();  // after a check box: nothing
  for (QWidget* box : {dialog->BINfile, dialog->ASMfile, dialog->XREFfile}) {
    Focus(box);
    dialog->Command3->click();
  }
  EXPECT_EQ(dialogs,
            (std::vector<std::string>{
                "CMDialog1|Binary File|BIN Files (*.bin)|*.bin|" + work.file("M.bin") + "|1|on",
                "CMDialog1|Assembly source to generate|ASM Files (*.asm)|*.asm|" +
                    work.file("M.asm") + "|1|on",
                "CMDialog1|Variable cross reference file|XRF Files (*.xrf)|*.xrf|" +
                    work.file("M.xrf") + "|1|on"}));
  // A new name is taken; a cancel keeps the box.
  EXPECT_EQ(Texts(*dialog), work.file("other.bin") + " " + work.file("new/never.asm") + " " +
                                work.file("M.prt") + " " + work.file("M.sym") + " " +
                                work.file("M.sta") + " " + work.file("M.xrf") + " ");
  EXPECT_TRUE(boxes.empty());
}

TEST_F(DisassembleDialogTest, WritesTheTickedFilesThroughTheRealLibraryAndStaysOpen) {
  const std::string image("\x10\x00\x20\x05\x30\x0A\x00\x00", 8);
  work.write("all.bin", image);
  Dialog* dialog = Open(work.file("all.ASM"));
  dialog->Command1->click();
  EXPECT_EQ(Written("all"), "asmprtsymstaxrf");
  EXPECT_NE(work.read("all.asm").find("JMP           L0000"), std::string::npos);
  EXPECT_EQ(platform::WaitCursor::Depth(), 0);
  EXPECT_TRUE(dialog->isVisible());

  work.write("two.bin", image);
  dialog = Open(work.file("two.ASM"));
  for (QCheckBox* check : {dialog->PRTCheck, dialog->SYMCheck, dialog->STATCheck}) check->click();
  EXPECT_EQ(dialog->Flags(), 34);
  dialog->Command1->click();
  EXPECT_EQ(Written("two"), "asmxrf");

  // Nothing ticked still calls: the library reads the (missing) image and
  // says so through the program's hook; the dialog stays.
  for (QCheckBox* check : {dialog->ASMCheck, dialog->XREFCheck}) check->click();
  dialog->BINfile->setText(QString::fromStdString(work.file("gone.bin")));
  dialog->ASMfile->setText(QString::fromStdString(work.file("none.asm")));
  dialog->Command1->click();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("Error opening binary file"), std::string::npos) << boxes[0];
  EXPECT_FALSE(std::filesystem::exists(work.file("none.asm")));
  EXPECT_TRUE(dialog->isVisible());

  // A lower-case source is proposed as its own assembly file: the source is
  // kept, nothing is written, and the user is told why.
  work.write("low.bin", image);
  work.write("low.asm", "; the user's program\r\n");
  boxes.clear();
  dialog = Open(work.file("low.asm"));
  dialog->Command1->click();
  EXPECT_EQ(work.read("low.asm"), "; the user's program\r\n");
  EXPECT_EQ(Written("low"), "asm");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find("is the project's source file"), std::string::npos) << boxes[0];

  // A source named without a folder lies in the project's folder, as the
  // build has it: the outputs and the source's guard are there.
  std::filesystem::create_directory(work.file("proj"));
  for (const char* name : {"proj/rel.bin", "proj/low.bin"}) work.write(name, image);
  work.write("proj/low.asm", "; mine\r\n");
  state.ProjectFile = work.file("proj/P.prj");
  Open("rel.ASM")->Command1->click();
  EXPECT_EQ(Written("proj/rel"), "asmprtsymstaxrf");
  Open("low.asm")->Command1->click();
  EXPECT_EQ(work.read("proj/low.asm"), "; mine\r\n");
  EXPECT_NE(boxes.back().find("is the project's source file"), std::string::npos);
  for (const auto& entry : std::filesystem::directory_iterator(program.path()))
    EXPECT_NE(entry.path().stem(), "rel") << entry.path();
}

}  // namespace
