// The editor's Find dialog and its Edit, Font, Print and New Template
// commands through the real widgets.
#include <gtest/gtest.h>

#include <QLocale>
#include <QTest>
#include <filesystem>

#include "assembler_runner.h"
#include "core/print_listing_line.h"
#include "platform/controls.h"
#include "settings/mdl_registry.h"
#include "workbench/editor_commands.h"
#include "workbench/frmfind.h"
#include "workbench_fixture.h"

namespace {

using monitortest::WorkbenchTest;
namespace fs = std::filesystem;

TEST_F(WorkbenchTest, FindDialogSearchesTheCurrentEditor) {
  Begin();
  Click("mnuFNew");
  monitor::frmNotePad* editor = Editor(1);
  editor->Text1->SetText("LOOP: JMP loop\nCALL Loop\n");
  // Find Next with nothing to find opens the dialog, Find button disabled.
  Click(editor, "mnuSFindNext");
  auto* find = dynamic_cast<monitor::frmFind*>(state.Forms.Get("frmFind"));
  ASSERT_NE(find, nullptr);
  EXPECT_TRUE(find->isVisible());
  EXPECT_FALSE(find->cmdFind->isEnabled());
  EXPECT_TRUE(find->optDirection[1]->isChecked());

  // From the dialog (which has the focus) the search reaches the editor.
  editor->Text1->SetSelection(0, 4);
  Click(editor, "mnuSFind");
  EXPECT_EQ(find->Text1->text(), "LOOP");
  EXPECT_TRUE(find->cmdFind->isEnabled());
  find->activateWindow();
  QTest::mouseClick(find->cmdFind, Qt::LeftButton);
  EXPECT_EQ(editor->Text1->SelStart(), 0);
  for (int expected : {10, 20}) {
    Click(editor, "mnuSFindNext");
    EXPECT_EQ(editor->Text1->SelStart(), expected);
    EXPECT_EQ(editor->Text1->SelText(), expected == 10 ? "loop" : "Loop");
  }
  Click(editor, "mnuSFindNext");
  EXPECT_EQ(boxes.back(), "Tavix|Cannot find \"LOOP\"|0");
  EXPECT_EQ(editor->Text1->SelStart(), 20);

  // Match Case on, then Cancel: reopened, the box shows it still on.
  QTest::mouseClick(find->chkCase, Qt::LeftButton);
  QTest::mouseClick(find->cmdcancel, Qt::LeftButton);
  EXPECT_EQ(state.Forms.Get("frmFind"), nullptr);
  EXPECT_EQ(bench.Search.FindMatchCase, 1);
  editor->Text1->SetSelection(0, 0);
  Click(editor, "mnuSFind");
  find = dynamic_cast<monitor::frmFind*>(state.Forms.Get("frmFind"));
  EXPECT_EQ(platform::ButtonValue(*find->chkCase), 1);
  find->Text1->setText("loop");
  QTest::mouseClick(find->optDirection[0], Qt::LeftButton);
  editor->Text1->SetSelection(24, 0);
  QTest::mouseClick(find->cmdFind, Qt::LeftButton);
  EXPECT_EQ(editor->Text1->SelStart(), 10);

  // Without an editor as the active child nothing is searched.
  boxAnswers = {platform::IDNO};
  Click(editor, "mnuFClose");
  const size_t before = boxes.size();
  QTest::mouseClick(find->cmdFind, Qt::LeftButton);
  EXPECT_EQ(boxes.size(), before);
}

TEST_F(WorkbenchTest, EditCommandsClipboardDeleteSelectAllAndTimeDate) {
  Begin();
  Click("mnuFNew");
  monitor::frmNotePad* editor = Editor(1);
  platform::SourceTextBox* text = editor->Text1;
  text->SetText(QString("A\nB") + QChar(0xA0) + "\nC");
  // Delete before a line end joins the lines; at the end nothing happens.
  text->SetSelection(1, 0);
  Click(editor, "mnuEDelete");
  EXPECT_EQ(text->Text(), QString("AB") + QChar(0xA0) + "\nC");
  text->SetSelection(5, 0);
  Click(editor, "mnuEDelete");
  EXPECT_EQ(text->Text().size(), 5);
  text->SetSelection(4, 1);
  Click(editor, "mnuEDelete");
  EXPECT_EQ(text->Text(), QString("AB") + QChar(0xA0) + "\n");

  // Cut and paste keep line ends and the no-break space.
  text->SetText(QString("A\nB") + QChar(0xA0));
  Click(editor, "mnuESelectAll");
  EXPECT_EQ(text->SelLength(), 4);
  Click(editor, "mnuECut");
  EXPECT_EQ(text->Text(), "");
  EXPECT_EQ(platform::ClipboardText(), QString("A\nB") + QChar(0xA0));
  Click(editor, "mnuEPaste");
  Click(editor, "mnuEPaste");
  EXPECT_EQ(text->Text(), QString("A\nB") + QChar(0xA0) + "A\nB" + QChar(0xA0));
  text->SetSelection(2, 2);
  QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(platform::ClipboardText(), QString("B") + QChar(0xA0));

  // Time / Date in the locale's short date and long time, without a zone.
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  setenv("SOURCE_DATE_EPOCH", "1796828645", 1);  // 2026-12-09 15:04:05 UTC
  text->SetText("");
  Click(editor, "mnuETime");
  QLocale::setDefault(saved);
  setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
  EXPECT_EQ(text->Text(), "12/9/26 3:04:05 PM");

  // Nothing acts while the active control is not an editor's text.
  boxAnswers = {platform::IDNO};
  Click(editor, "mnuFClose");
  platform::SetClipboardText("kept");
  monitor::CutSelection(bench);
  monitor::DeleteSelection(bench);
  EXPECT_EQ(platform::ClipboardText(), "kept");
}

TEST_F(WorkbenchTest, FontGoesToEveryEditorAndTheRegistry) {
  Begin();
  Click("mnuFNew");
  Click("mnuFNew");
  // Cancel changes nothing.
  platform::SetDialogHook(
      [](platform::CommonDialog&, platform::CommonDialog::Action) { return false; });
  const QFont before = Editor(1)->Text1->Font();
  Click(Editor(1), "mnuFontName");
  EXPECT_EQ(Editor(1)->Text1->Font(), before);
  platform::SetDialogHook([](platform::CommonDialog& dialog, platform::CommonDialog::Action) {
    EXPECT_EQ(dialog.Flags, 0x28003);
    dialog.FontName = "Serif";
    dialog.FontSize = 10.5;
    dialog.FontBold = true;
    dialog.FontItalic = false;
    return true;
  });
  Click(Editor(1), "mnuFontName");
  for (int slot : {1, 2}) {
    EXPECT_EQ(Editor(slot)->Text1->Font().family(), "Serif");
    EXPECT_TRUE(Editor(slot)->Text1->Font().bold());
    EXPECT_FALSE(Editor(slot)->Text1->Font().italic());
  }
  EXPECT_EQ(state.EditorSlot[1].Changed, 0);
  const char* key = "SOFTWARE\\Corvane\\Tavix\\editor window";
  using platform::HKEY_CURRENT_USER;
  EXPECT_EQ(monitor::RegGetSetting(HKEY_CURRENT_USER, key, "fontname").AsText(), "Serif");
  EXPECT_EQ(monitor::RegGetSetting(HKEY_CURRENT_USER, key, "fontsize"), monitor::RegValue(10));
  EXPECT_EQ(monitor::RegGetSetting(HKEY_CURRENT_USER, key, "fontpara"), monitor::RegValue(2));
  Click("mnuFNew");
  EXPECT_TRUE(Editor(3)->Text1->Font().bold());
}

TEST_F(WorkbenchTest, PrintTextOrSelectionInCopiesAndPages) {
  Begin();
  Click("mnuFNew");
  monitor::frmNotePad* editor = Editor(1);
  editor->Text1->SetText("one\ntwo\nthree\n");
  int copies = 2;
  bool selection = false;
  platform::SetDialogHook([&](platform::CommonDialog& dialog, platform::CommonDialog::Action) {
    if (!selection) dialog.Flags &= ~1;
    dialog.Copies = copies;
    return true;
  });
  Click(editor, "mnuFPrint");
  ASSERT_EQ(paper.jobs.size(), 2u);
  EXPECT_EQ(paper.jobs[1].pages, (std::vector<std::vector<QString>>{{"one", "two", "three"}}));
  EXPECT_EQ(paper.jobs[0].font, editor->Text1->Font().family());

  // With a selection and the option kept, only the selection.
  paper.jobs.clear();
  copies = 1;
  selection = true;
  editor->Text1->SetSelection(4, 3);
  Click(editor, "mnuFPrint");
  EXPECT_EQ(paper.jobs.at(0).pages, (std::vector<std::vector<QString>>{{"two"}}));

  // Pages of ten lines: 20 lines make 2 pages, 21 make 3.
  QString text;
  for (int i = 1; i <= 21; ++i) text += QString::number(i) + "\r\n";
  paper.jobs.clear();
  paper.linesPerPage = 10;
  monitor::PrintListingLine(text.left(text.indexOf("21")), "Serif", 9, 1);
  monitor::PrintListingLine(text, "Serif", 9, 1);
  EXPECT_EQ(paper.jobs.at(0).pages.size(), 2u);
  EXPECT_EQ(paper.jobs.at(1).pages.size(), 3u);
  EXPECT_EQ(paper.jobs.at(1).pages[2], std::vector<QString>{"21"});

  // No printer: one message, nothing printed.
  paper.jobs.clear();
  paper.available = false;
  boxes.clear();
  monitor::PrintListingLine(text, "Serif", 9, 3);
  EXPECT_TRUE(paper.jobs.empty());
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(WorkbenchTest, NewTemplateOpensTheShippedStartThatAssembles) {
  Begin();
  state.ProgramPath = TAVIX_DIST_DIR;
  Click("mnuFNewT");
  monitor::frmNotePad* editor = Active();
  ASSERT_NE(editor, nullptr);
  const std::string path =
      fs::weakly_canonical(fs::path(TAVIX_DIST_DIR) / ".." / "tavix" / "Start.asm");
  EXPECT_EQ(fs::weakly_canonical(editor->Path()).string(), path);
  EXPECT_TRUE(editor->Text1->Text().contains("START:"));

  testsupport::TempDir work;
  fs::copy_file(path, work.path() + "Start.asm");
  const asmtest::ProcessRun run =
      asmtest::RunAssemblerProcess({"/D", "/S", "Start.asm"}, work.path(), "", work.path());
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(work.read("Start.err"), "");

  // A missing template: the load's message.
  state.ProgramPath = files.path() + "bin/";
  Click(editor, "mnuFNewT");
  EXPECT_EQ(boxes.back(), "Tavix|Can't open file: " + files.path() + "tavix/Start.asm|0");
}

}  // namespace
