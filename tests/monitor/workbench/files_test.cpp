// Source files through the real editors: load and save with the byte and
// line-end policy, paths found without case, links, failures, the save of
// all editors, the question before code is loaded, and the recent files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>
#include <cerrno>
#include <filesystem>

#include "core/checked_file.h"
#include "workbench/filopen.h"
#include "workbench_fixture.h"

namespace {

using monitortest::WorkbenchTest;
namespace fs = std::filesystem;

TEST_F(WorkbenchTest, LoadAndSaveKeepBytesAndEndLinesWithCrLf) {
  monitor::Monitorform* frame = Begin();
  const std::string crlf = "START:  NOP\r\n\tJMP START\r\n";
  files.write("a.asm", crlf);
  fileAnswers = {files.path() + "a.asm"};
  Click("mnuFOpen");
  EXPECT_EQ(dialogs.back(), "Open|Open File|Assembler Files (*.asm)|*.asm|All Files (*.*)|*.*");
  monitor::frmNotePad* editor = Editor(1);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->Caption().toStdString(), files.path() + "a.asm");
  EXPECT_EQ(state.EditorSlot[1].Changed, 0);
  EXPECT_EQ(editor->Text1->Text(), "START:  NOP\n\tJMP START\n");
  EXPECT_EQ(Recent(), std::vector<std::string>{files.path() + "a.asm"});
  EXPECT_EQ(Captions(frame->Menus()), Recent());
  EXPECT_EQ(Captions(editor->Menus()), Recent());
  EXPECT_TRUE(editor->Menu("mnuRecentFile(0)")->isVisible());

  // Unchanged: the same bytes. Edited: text and one CR LF, never growing.
  files.write(".a.asm.Ab12Cd", "a killed save's temporary");
  Click(editor, "mnuFSave");
  EXPECT_EQ(files.read("a.asm"), crlf);
  EXPECT_EQ(files.read(".a.asm.Ab12Cd"), "");
  editor->Text1->SetSelection(static_cast<int>(editor->Text1->Text().size()), 0);
  QTest::keyClicks(editor->Text1, "END");
  EXPECT_EQ(state.EditorSlot[1].Changed, -1);
  Click(editor, "mnuFSave");
  EXPECT_EQ(files.read("a.asm"), crlf + "END\r\n");
  EXPECT_EQ(state.EditorSlot[1].Changed, 0);
  Click(editor, "mnuFSave");
  EXPECT_EQ(files.read("a.asm"), crlf + "END\r\n");

  // A byte file keeps every byte; what cannot be stored enters as "?", and
  // Shift+Enter is an ordinary line end.
  const std::string bytes("; \xA0\x00\xFF\rx", 7);
  files.write("b.asm", bytes);
  state.Seams.workbench.LoadSourceFile(files.path() + "b.asm");
  monitor::frmNotePad* binary = Editor(2);
  EXPECT_EQ(binary->Encoding(), monitor::SourceEncoding::Bytes);
  binary->Text1->SetSelection(0, 0);
  binary->Text1->SetSelText(QString::fromUtf8("\xE2\x82\xAC"));
  QKeyEvent arrow(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                  QString::fromUtf8("\xE2\x86\x92"));
  QCoreApplication::sendEvent(binary->Text1, &arrow);
  QTest::keyClick(binary->Text1, Qt::Key_Return, Qt::ShiftModifier);
  Click(binary, "mnuFSave");
  EXPECT_EQ(files.read("b.asm"), "??\r\n" + std::string("; \xA0\x00\xFF\r\nx\r\n", 10));

  // An empty file opens empty and unchanged; its first save writes CR LF.
  files.write("empty.asm", "");
  state.Seams.workbench.LoadSourceFile(files.path() + "empty.asm");
  EXPECT_EQ(state.EditorSlot[3].Changed, 0);
  Click(Editor(3), "mnuFSave");
  EXPECT_EQ(files.read("empty.asm"), "\r\n");

  // Line and paragraph separators, and the characters the editor's document
  // uses as breaks, are characters of a line like any other.
  const std::string separators =
      "G\xE2\x80\xA8H\xE2\x80\xA9I\xEF\xB7\x90J\xEF\xB7\x91\xC2\xA0\r\nK\r\n";
  files.write("sep.asm", separators);
  state.Seams.workbench.LoadSourceFile(files.path() + "sep.asm");
  EXPECT_EQ(Editor(4)->Text1->Text().count(u'\n'), 2);
  Click(Editor(4), "mnuFSave");
  EXPECT_EQ(files.read("sep.asm"), separators);
}

TEST_F(WorkbenchTest, PathsFoundWithoutCaseLinksAndFailuresOpenNothing) {
  Begin();
  // Captions that hold the debug views' names fool none of the main
  // window's commands.
  const std::string folder = files.path() + "Watch RAM Emulator Control Panel Go to Label/";
  fs::create_directories(folder);
  testsupport::WriteFile(folder + "main.asm", "NOP\r\n");
  state.Seams.workbench.LoadSourceFile(folder + "MAIN.ASM");
  monitor::frmNotePad* editor = Editor(1);
  EXPECT_EQ(editor->Path(), folder + "main.asm");
  EXPECT_EQ(editor->Caption().toStdString(), folder + "main.asm");
  editor->Text1->SetText("RET");
  Click(editor, "mnuFSave");
  EXPECT_EQ(testsupport::ReadFile(folder + "main.asm"), "RET\r\n");
  EXPECT_FALSE(fs::exists(folder + "MAIN.ASM"));
  const QFont font = editor->Text1->Font();
  platform::SetDialogHook([](platform::CommonDialog& dialog, platform::CommonDialog::Action) {
    dialog.FontName = "Serif";
    return true;
  });
  Click("mnuFontName");
  EXPECT_EQ(editor->Text1->Font(), font);

  // A save through a symbolic link writes its target and keeps the link.
  fs::create_symlink("main.asm", folder + "link.asm");
  state.Seams.workbench.LoadSourceFile(folder + "link.asm");
  Editor(2)->Text1->SetText("LINKED");
  Click(Editor(2), "mnuFSave");
  EXPECT_TRUE(fs::is_symlink(folder + "link.asm"));
  EXPECT_EQ(testsupport::ReadFile(folder + "main.asm"), "LINKED\r\n");

  // A missing file, a folder and a pipe without a writer: the message at
  // once, no window and no slot.
  const size_t count = state.EditorSlot.size();
  ASSERT_EQ(mkfifo((folder + "pipe.asm").c_str(), 0600), 0);
  alarm(20);
  state.Seams.workbench.LoadSourceFile(folder + "none.asm");
  state.Seams.workbench.LoadSourceFile(folder);
  state.Seams.workbench.LoadSourceFile(folder + "pipe.asm");
  alarm(0);
  ASSERT_GE(boxes.size(), 3u);
  EXPECT_EQ(boxes[boxes.size() - 3], "Tavix|Can't open file: " + folder + "none.asm|0");
  EXPECT_EQ(boxes[boxes.size() - 2], "Tavix|Format error : " + folder + "|0");
  EXPECT_EQ(boxes.back(), "Tavix|Can't open file: " + folder + "pipe.asm|0");
  EXPECT_EQ(state.EditorSlot.size(), count);
  EXPECT_EQ(SlotsInUse(), 2);
}

TEST_F(WorkbenchTest, SaveAllAndQuerySaveWriteOnlyWhatTheyCan) {
  Begin();
  files.write("changed.asm", "old\r\n");
  files.write("same.asm", "same\r\n");
  const std::string locked = files.path() + "locked/";
  fs::create_directories(locked);
  testsupport::WriteFile(locked + "ro.asm", "ro\r\n");
  for (const char* name : {"changed.asm", "same.asm"}) {
    state.Seams.workbench.LoadSourceFile(files.path() + name);
  }
  Click("mnuFNew");
  state.Seams.workbench.LoadSourceFile(locked + "ro.asm");
  const bool root = geteuid() == 0;
  chmod(locked.c_str(), 0555);
  Editor(1)->Text1->SetText("new");
  Editor(3)->Text1->SetText("untitled");
  Editor(4)->Text1->SetText("read-only");
  boxes.clear();
  monitor::SaveAllDocuments(bench);
  EXPECT_EQ(files.read("changed.asm"), "new\r\n");
  EXPECT_EQ(files.read("same.asm"), "same\r\n");
  EXPECT_FALSE(fs::exists(files.path() + "Untitled:3"));
  EXPECT_EQ(state.EditorSlot[1].Changed, 0);
  EXPECT_EQ(state.EditorSlot[3].Changed, -1);
  if (!root) {
    EXPECT_EQ(boxes, std::vector<std::string>{"Tavix|Permission denied: " + locked + "ro.asm|48"});
    EXPECT_EQ(state.EditorSlot[4].Changed, -1);
  }
  chmod(locked.c_str(), 0755);

  // The question before code is loaded: Yes writes, No keeps the flag, an
  // untitled document whose dialog is cancelled is skipped.
  Editor(1)->Text1->SetText("again");
  Editor(2)->Text1->SetText("kept");
  Editor(4)->Text1->SetText("ro2");
  boxes.clear();
  boxAnswers = {platform::IDYES, platform::IDNO, platform::IDYES, platform::IDYES};
  fileAnswers = {std::nullopt};
  ASSERT_TRUE(state.Seams.Bound("QuerySaveDocuments"));
  state.Seams.workbench.QuerySaveDocuments();
  ASSERT_EQ(boxes.size(), 4u);
  EXPECT_EQ(boxes[0],
            "Tavix|" + files.path() +
                "changed.asm has been changed.\r\nWould you want to save the changes?|36");
  EXPECT_EQ(files.read("changed.asm"), "again\r\n");
  EXPECT_EQ(files.read("same.asm"), "same\r\n");
  EXPECT_EQ(testsupport::ReadFile(locked + "ro.asm"), "ro2\r\n");
  EXPECT_EQ(state.EditorSlot[1].Changed, 0);
  EXPECT_EQ(state.EditorSlot[2].Changed, -1);
  EXPECT_EQ(state.EditorSlot[3].Changed, -1);
  EXPECT_EQ(Editor(3)->Caption(), "Untitled:3");
}

TEST_F(WorkbenchTest, RecentFilesFollowOpensAndSaveAsInEveryMenu) {
  monitor::Monitorform* frame = Begin();
  for (const char* name : {"1.asm", "2.asm", "3.asm"}) {
    files.write(name, "NOP\r\n");
    state.Seams.workbench.LoadSourceFile(files.path() + name);
  }
  const std::vector<std::string> three = {files.path() + "3.asm", files.path() + "2.asm",
                                          files.path() + "1.asm"};
  EXPECT_EQ(Recent(), three);
  // Every menu shows them; a new editor at once.
  EXPECT_EQ(Captions(frame->Menus()), three);
  EXPECT_EQ(Captions(Editor(1)->Menus()), three);
  Click("mnuFNew");
  EXPECT_EQ(Captions(Editor(4)->Menus()), three);

  // A cancelled Save As changes nothing; a Save As adds its name.
  fileAnswers = {std::nullopt, files.path() + "saved.asm"};
  Click(Editor(4), "mnuFSaveAs");
  EXPECT_EQ(Recent(), three);
  EXPECT_EQ(lastDialog->InitDir, oldCwd);  // where the monitor started, not the program folder
  Click(Editor(4), "mnuFSaveAs");
  EXPECT_EQ(Recent().front(), files.path() + "saved.asm");
  EXPECT_EQ(Editor(4)->Caption().toStdString(), files.path() + "saved.asm");
  EXPECT_EQ(Captions(Editor(2)->Menus()).front(), files.path() + "saved.asm");

  // A recent entry of the main window opens its file and moves it up.
  Click("mnuRecentFile(4)");
  EXPECT_EQ(Active()->Caption().toStdString(), files.path() + "1.asm");
  EXPECT_EQ(Recent().front(), files.path() + "1.asm");
  Click(Editor(1), "mnuRecentFile(2)");
  EXPECT_EQ(Active()->Caption().toStdString(), files.path() + "saved.asm");
  EXPECT_EQ(Recent().size(), 4u);

  // Then a file dialog starts in the folder last chosen in, or the project's.
  Click("mnuFOpen");
  EXPECT_EQ(fs::path(lastDialog->InitDir), fs::path(files.file("saved.asm")).parent_path());
  state.ProjectFile = files.file("proj/demo.prj");
  Click("mnuFOpen");
  EXPECT_EQ(lastDialog->InitDir, files.file("proj"));
}

TEST_F(WorkbenchTest, CheckedOpenAsksRefusesReplacesAtomicallyAndReportsFileErrors) {
  const std::string name = files.path() + "trace.txt";
  // A blank (or ";<=>?[*]") in the file's own name is illegal: the message,
  // nothing opened. A folder with a blank in its name is an ordinary folder.
  EXPECT_EQ(monitor::OpenFileChecked(files.path() + "a b.txt", 1, 0, -1), nullptr);
  EXPECT_EQ(boxes.back(), "File Error|That file name is illegal.|48");
  ASSERT_EQ(mkdir((files.path() + "my traces").c_str(), 0755), 0);
  auto spaced = monitor::OpenFileChecked(files.path() + "my traces/x.trc", 1, 0, 0);
  ASSERT_NE(spaced, nullptr);
  EXPECT_TRUE(spaced->Write("ok") && spaced->Commit());
  EXPECT_EQ(files.read("my traces/x.trc"), "ok");
  // A missing file: the create question; OK creates it on commit.
  auto file = monitor::OpenFileChecked(name, 1, 0, -1);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(boxes.back(),
            "Create File?|The file " + name + " does not exist. Do you want to create it?|1");
  EXPECT_TRUE(file->Write("old") && file->Commit());
  // An existing file: the replace question; Cancel opens nothing, and
  // without the ask flag it is replaced without a question. Until the commit
  // the previous content stays, and a file dropped uncommitted leaves it.
  boxAnswers = {platform::IDCANCEL};
  EXPECT_EQ(monitor::OpenFileChecked(name, 1, 0, -1), nullptr);
  EXPECT_EQ(boxes.back(), "Replace File?|Replace contents of " + name + "?|49");
  const size_t asked = boxes.size();
  file = monitor::OpenFileChecked(name, 1, 0, 0);
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(boxes.size(), asked);
  EXPECT_TRUE(file->Write("new"));
  EXPECT_EQ(files.read("trace.txt"), "old");
  file.reset();
  EXPECT_EQ(files.read("trace.txt"), "old");
  EXPECT_EQ(monitor::OpenFileChecked(name, 2, 0, 0), nullptr);
  // A missing folder is "That path doesn't exist."; a read-only folder is
  // an error the table does not name: no box, and the caller gets the errno.
  int unreported = -1;
  EXPECT_EQ(monitor::OpenFileChecked(files.path() + "none/x.trc", 1, 0, 0, &unreported), nullptr);
  EXPECT_EQ(boxes.back(), "File Error|That path doesn't exist.|48");
  EXPECT_EQ(unreported, 0);
  if (geteuid() != 0) {
    ASSERT_EQ(chmod(files.path().c_str(), 0555), 0);
    const size_t shown = boxes.size();
    EXPECT_EQ(monitor::OpenFileChecked(name, 1, 0, 0, &unreported), nullptr);
    EXPECT_EQ(unreported, EACCES);
    EXPECT_EQ(boxes.size(), shown);
    chmod(files.path().c_str(), 0755);
  }
  // The answers: Retry 0 for a device error, 2 for OK, 3 without a box.
  boxAnswers = {platform::IDRETRY};
  EXPECT_EQ(monitor::ReportFileError(68), 0);
  EXPECT_EQ(boxes.back(), "File Error|That device appears to be unavailable.|53");
  EXPECT_EQ(monitor::ReportFileError(76), 2);
  EXPECT_EQ(monitor::ReportFileError(75), 3);
  EXPECT_EQ(boxes.back(), "File Error|That path doesn't exist.|48");
}

}  // namespace
