// Editor windows: count, the close question and the exit gate, the menu bar
// and the editor font, through the real main window and editor forms.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <algorithm>

#include "core/main_module.h"
#include "mtp/mtp_binding.h"
#include "platform/hooks.h"
#include "subsystems.h"
#include "temp_dir.h"
#include "workbench/filopen.h"
#include "workbench_fixture.h"

namespace {

using monitortest::WorkbenchTest;
const unsigned kClose = platform::MB_YESNOCANCEL | platform::MB_ICONEXCLAMATION;

TEST_F(WorkbenchTest, SlotsAreTakenReusedAndFreedUnchanged) {
  Begin();
  Click("mnuFNew");
  ASSERT_NE(Editor(1), nullptr);
  EXPECT_EQ(Editor(1)->Caption(), "Untitled:1");
  EXPECT_EQ(Editor(1)->Tag, "1");
  EXPECT_EQ(Active(), Editor(1));
  Click(Editor(1), "mnuFNew");
  EXPECT_EQ(Active(), Editor(2));
  EXPECT_EQ(monitor::AnyEditorOpen(state), -1);

  // An unchanged editor closes without a question; its slot is reused.
  Click(Editor(1), "mnuFClose");
  EXPECT_TRUE(boxes.empty());
  EXPECT_EQ(state.EditorSlot[1].Free, -1);
  Click("mnuFNew");
  EXPECT_EQ(Editor(1)->Caption(), "Untitled:1");
  Click("mnuFNew");
  EXPECT_EQ(Editor(3)->Caption(), "Untitled:3");

  // Closed with No: the slot is freed and unchanged, so a new editor there
  // starts unchanged and closes without asking.
  QTest::keyClicks(Editor(2)->Text1, "x");
  EXPECT_EQ(state.EditorSlot[2].Changed, -1);
  boxAnswers = {platform::IDNO};
  Click(Editor(2), "mnuFClose");
  EXPECT_EQ(boxes.back(),
            "Tavix|Untitled:2 has been changed.\r\nWould you want to save the changes?|" +
                std::to_string(kClose));
  EXPECT_EQ(state.EditorSlot[2].Free, -1);
  EXPECT_EQ(state.EditorSlot[2].Changed, 0);
  Click("mnuFNew");
  EXPECT_EQ(state.EditorSlot[2].Changed, 0);
  const size_t asked = boxes.size();
  Click(Editor(2), "mnuFClose");
  EXPECT_EQ(boxes.size(), asked);
  EXPECT_EQ(SlotsInUse(), 2);
}

TEST_F(WorkbenchTest, CloseQuestionCancelSaveAsAndFailedSaveKeepTheWindow) {
  Begin();
  Click("mnuFNew");
  monitor::frmNotePad* editor = Editor(1);
  editor->Text1->SetText("NOP");
  // Cancel; then Yes with the Save As dialog cancelled.
  boxAnswers = {platform::IDCANCEL, platform::IDYES};
  fileAnswers = {std::nullopt};
  Click(editor, "mnuFClose");
  Click(editor, "mnuFClose");
  EXPECT_EQ(Editor(1), editor);
  EXPECT_EQ(dialogs,
            (std::vector<std::string>{"Save|Save File As...|Source (*.asm)|*.asm|All (*.*)|*.*"}));

  // Yes with a name in a folder that cannot be written: the message with the
  // system's reason, and the window keeps its text and its flag.
  if (geteuid() != 0) {
    const std::string locked = files.path() + "locked";
    ASSERT_EQ(mkdir(locked.c_str(), 0555), 0);
    boxAnswers = {platform::IDYES};
    fileAnswers = {locked + "/prog.asm"};
    Click(editor, "mnuFClose");
    EXPECT_EQ(boxes.back(), "Tavix|Permission denied: " + locked + "/prog.asm|48");
    EXPECT_EQ(Editor(1), editor);
    EXPECT_EQ(editor->Text1->Text(), "NOP");
    EXPECT_EQ(editor->Caption(), "Untitled:1");
    EXPECT_EQ(state.EditorSlot[1].Changed, -1);
  }

  // Yes with a writable name: written, then closed.
  boxAnswers = {platform::IDYES};
  fileAnswers = {files.path() + "prog.asm"};
  Click(editor, "mnuFClose");
  EXPECT_EQ(files.read("prog.asm"), "NOP\r\n");
  EXPECT_EQ(Editor(1), nullptr);
  EXPECT_EQ(monitor::AnyEditorOpen(state), 0);
}

TEST_F(WorkbenchTest, ExitGateOfTheMainWindowAndOfTheEditorsExit) {
  monitor::Monitorform* frame = Begin();
  Click("mnuFNew");
  Click("mnuFNew");
  Editor(2)->Text1->SetText("changed");
  // Cancel at the second editor: every window stays, the program goes on.
  boxAnswers = {platform::IDCANCEL};
  frame->close();
  EXPECT_EQ(ends, 0);
  EXPECT_NE(state.MainForm(), nullptr);
  EXPECT_NE(Editor(1), nullptr);
  EXPECT_NE(Editor(2), nullptr);
  // The editor's Exit is the main window's close: No closes everything.
  boxAnswers = {platform::IDNO};
  Click(Editor(1), "mnuFExit");
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(Editor(1), nullptr);
  EXPECT_EQ(Editor(2), nullptr);
  EXPECT_EQ(monitor::AnyEditorOpen(state), 0);
  EXPECT_EQ(state.MainForm(), nullptr);
}

TEST_F(WorkbenchTest, EditorMenuBarSwapsInWithItsShortcutsAndStates) {
  monitor::Programming programming(state);
  monitor::BindSubsystems(state, bench, programming);  // the states as the program ships them
  platform::SetModalFormHook([](QWidget& tips) { tips.close(); });
  monitor::Monitorform* frame = Begin();
  platform::SetModalFormHook(nullptr);
  // At start the main window disables only what has no document, panel or
  // recent entry behind it (MTP follows the programmer control's library in
  // the program folder).
  std::vector<std::string> off;
  for (QAction* item : frame->findChildren<QAction*>()) {
    const std::string name = item->objectName().toStdString();
    if (!item->isEnabled() && !item->isSeparator() && name != "mnuMTP") off.push_back(name);
  }
  std::sort(off.begin(), off.end());
  EXPECT_EQ(off, (std::vector<std::string>{
                     "emcopy", "emcut", "empaste", "mnuFClose", "mnuFPrint", "mnuFSave",
                     "mnuFSaveAs", "mnuRecentFile(1)", "mnuRecentFile(2)", "mnuRecentFile(3)",
                     "mnuRecentFile(4)", "mnuRecentProj(1)", "mnuRecentProj(2)",
                     "mnuRecentProj(3)", "mnuRecentProj(4)", "mnusearch"}));
  // The main window's Ctrl+N opens an editor.
  frame->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
  QTest::keyClick(frame, Qt::Key_N, Qt::ControlModifier);
  monitor::frmNotePad* editor = Editor(1);
  std::vector<std::string> shown;
  for (QMenu* menu : frame->ShownMenus()) shown.push_back(menu->title().toStdString());
  EXPECT_EQ(shown, (std::vector<std::string>{"&File", "&Edit", "&Search", "&Project", "&Build",
                                             "E&mulation", "&Window", "&Help"}));
  EXPECT_EQ(frame->ShownMenus().front(), editor->Menus().TopLevel().front());
  // Only the editor's shortcuts are live: F3 with nothing to find opens its
  // Find dialog, Ctrl+N opens one more editor.
  QTest::keyClick(editor->Text1, Qt::Key_F3);
  EXPECT_NE(state.Forms.Get("frmFind"), nullptr);
  QTest::keyClick(editor->Text1, Qt::Key_N, Qt::ControlModifier);
  EXPECT_NE(Editor(2), nullptr);
  EXPECT_EQ(Editor(3), nullptr);
  EXPECT_EQ(editor->Menu("mnuQVVICE")->shortcut().toString(), "Ctrl+F5");
  // Every command has its subsystem behind it but the editor's Disassemble,
  // which has no action.
  for (const char* on : {"buildprojmnu", "mnuQVVICE", "mnuMTP", "mnuTips", "mnuAbout", "mnuPNew",
                         "mnuPOpen", "mnuPEdit", "mnuPSave", "mnuPSaveAs", "mnuPClose"})
    EXPECT_TRUE(editor->Menu(on)->isEnabled()) << on;
  EXPECT_FALSE(editor->Menu("Dissassemblemnu")->isEnabled());
  EXPECT_FALSE(editor->Menu("mnuRecentFile(0)")->isVisible());
  // The editor's Help items are the main window's.
  Click(editor, "mnuWebSite");
  Click(editor, "mnuIndex");
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].substr(0, 5), "Open|");
  EXPECT_EQ(dialogs.back().substr(0, 5), "Help|");
  // Closing the editor gives the main window's menus back.
  Click(editor, "mnuFClose");
  Click(Editor(2), "mnuFClose");
  EXPECT_EQ(frame->ShownMenus(), frame->Menus().TopLevel());
}

// Return presses a dialog's default button and Escape its cancel button.
TEST_F(WorkbenchTest, ReturnAndEscapePressTheDialogsDefaultAndCancelButtons) {
  monitor::Programming programming(state);
  monitor::BindSubsystems(state, bench, programming);
  platform::SetModalFormHook([](QWidget& tips) { tips.close(); });
  Begin();
  const char* rows[][4] = {{"frmTip", "chkLoadTipsAtStartup", "cmdOK", "cmdOK"},
                           {"frmFind", "Text1", "cmdFind", "cmdcancel"},
                           {"Project", "Source", "Command1", "Command2"},
                           {"Project", "ComboTargCon", "Command1", "Command2"},
                           {"transferwin", "baudcombo", "OKCommand", "CancelCommand"},
                           {"MTPCOMM_FORM", "MTP_comCombo", "MTP_OK", "MTP_CANCEL"}};
  std::string pressed;  // per key: the default and the cancel button's clicks
  for (const auto& [name, field, ok, cancel] : rows) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
      platform::Form* form = state.Forms.Show(name);
      if (QObject* text = form->findChild<QObject*>("Text1")) text->setProperty("text", "x");
      form->activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(form));
      form->findChild<QWidget*>(field)->setFocus();
      QSignalSpy oks(form->findChild<QAbstractButton*>(ok), &QAbstractButton::clicked);
      QSignalSpy cancels(form->findChild<QAbstractButton*>(cancel), &QAbstractButton::clicked);
      QTest::keyClick(form->focusWidget(), key);
      pressed += std::to_string(oks.count()) + std::to_string(cancels.count()) + " ";
    }
  }
  EXPECT_EQ(pressed, "11 11 10 01 10 01 10 01 10 01 10 01 ");
}

}  // namespace
