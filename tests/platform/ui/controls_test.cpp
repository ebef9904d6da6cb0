// The small controls, twips and the hooks of modal and outside actions.
#include "platform/controls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/hooks.h"
#include "platform/run_time_error.h"
#include "platform/twips.h"
#include "temp_dir.h"

namespace {

using namespace platform;

TEST(Controls, TimerKeyCodesColoursAndTwips) {
  Timer timer;
  int ticks = 0;
  timer.onTimer = [&] { ++ticks; };
  EXPECT_FALSE(timer.Running());  // interval 0 is off, even enabled
  timer.SetInterval(40);
  EXPECT_TRUE(timer.Running());
  timer.SetEnabled(false);
  EXPECT_FALSE(timer.Running());
  timer.Tick();
  EXPECT_EQ(ticks, 1);

  EXPECT_EQ(KeyCodeOf(Qt::Key_F1), 112);
  EXPECT_EQ(KeyCodeOf(Qt::Key_F12), 123);
  EXPECT_EQ(KeyCodeOf(Qt::Key_Return), 13);
  EXPECT_EQ(KeyCodeOf(Qt::Key_Enter), 13);
  EXPECT_EQ(KeyCodeOf(Qt::Key_Z), 90);
  EXPECT_EQ(KeyCodeOf(Qt::Key_9), 57);
  EXPECT_EQ(KeyCodeOf(Qt::Key_Pause), 19);
  EXPECT_EQ(KeyCodeOf(Qt::Key_Down), 40);
  EXPECT_EQ(ShiftMaskOf(Qt::ShiftModifier | Qt::AltModifier), 5);

  EXPECT_EQ(ColorFromLong(255), QColor(255, 0, 0));
  EXPECT_EQ(ColorFromLong(128), QColor(128, 0, 0));
  EXPECT_EQ(LongFromColor(QColor(1, 2, 3)), 1 + 2 * 256 + 3 * 65536);

  EXPECT_EQ(TwipsPerPixel(), 15);
  EXPECT_EQ(TwipsToPixels(1000), 67);  // 66.7 rounds up
  EXPECT_EQ(TwipsToPixels(-1000), -67);
  EXPECT_EQ(PixelsToTwips(67), 1005);
}

TEST(Controls, AWindowStoresThePlaceItWasGivenWhateverItsDecoration) {
  // The window manager puts the frame's corner where it is asked and its
  // decoration (none, or a title bar and borders) around the inner size.
  const TwipsRect stored{1800, 3000, 14400, 12000};  // 960 x 800 pixels at (120, 200)
  for (const QMargins& decoration : {QMargins(), QMargins(1, 20, 1, 4), QMargins(8, 31, 8, 8)}) {
    const WindowPlace place = WindowPlaceOf(stored);
    const QPoint inner = place.frameTopLeft + QPoint(decoration.left(), decoration.top());
    EXPECT_EQ(WindowTwips(QRect(inner, place.innerSize), decoration), stored);
  }
}

TEST(Controls, SelectionHelpersCountLineBreaksAsTwo) {
  QPlainTextEdit text;
  text.setPlainText("ab\ncd\nef");
  SetSelection(text, 4, 5);  // "cd\r\ne" in the CR LF text
  EXPECT_EQ(text.textCursor().selectedText(), QString("cd") + QChar(0x2029) + "e");
  EXPECT_EQ(SelStart(text), 4);
  EXPECT_EQ(SelLength(text), 5);
  SetSelection(text, 3, 0);  // between CR and LF: before the break
  EXPECT_EQ(text.textCursor().position(), 2);
  SetSelection(text, 99, 4);
  EXPECT_EQ(SelStart(text), 10);
  EXPECT_EQ(SelLength(text), 0);

  QLineEdit line("hello");
  SetSelection(line, 1, 3);
  EXPECT_EQ(line.selectedText(), "ell");
  EXPECT_EQ(SelStart(line), 1);
  EXPECT_EQ(SelLength(line), 3);
  SetSelection(line, 4, 9);
  EXPECT_EQ(SelLength(line), 1);

  // Programmatic values fire no Click.
  QCheckBox check("x");
  check.resize(check.sizeHint());
  check.show();
  int clicks = 0;
  QObject::connect(&check, &QCheckBox::clicked, [&] { ++clicks; });
  SetButtonValue(check, 1);
  EXPECT_EQ(ButtonValue(check), 1);
  EXPECT_EQ(clicks, 0);
  QTest::mouseClick(&check, Qt::LeftButton, {}, check.rect().center());
  EXPECT_EQ(clicks, 1);
}

TEST(Controls, PanelFloodAndImageButtonPictures) {
  Panel3D panel("floodpnl");
  panel.SetFloodType(1);
  panel.SetFloodPercent(140);
  EXPECT_EQ(panel.FloodPercent(), 100);
  panel.SetFloodPercent(-3);
  EXPECT_EQ(panel.FloodPercent(), 0);

  QWidget form;
  QPixmap red(8, 8);
  red.fill(Qt::red);
  PictureHolder up("playuppic", red, &form);
  EXPECT_FALSE(up.isVisible());
  ImageButton play("playimg", &form);
  play.resize(8, 8);
  play.SetPicture(up);
  EXPECT_EQ(play.pictureName(), "playuppic");
  std::vector<std::string> events;
  play.onMouseDown = [&](int b, int, int x, int) {
    events.push_back("down" + std::to_string(b) + "@" + std::to_string(x));
  };
  play.onMouseUp = [&](int b, int, int, int) { events.push_back("up" + std::to_string(b)); };
  play.onClick = [&] { events.push_back("click"); };
  QTest::mouseClick(&play, Qt::LeftButton, {}, QPoint(2, 2));
  play.setEnabled(false);
  QTest::mouseClick(&play, Qt::LeftButton, {}, QPoint(2, 2));
  EXPECT_EQ(events, (std::vector<std::string>{"down1@30", "up1", "click"}));
}

TEST(Hooks, CommonDialogsAnswerFromAScriptAndCancelAsTheFormsExpect) {
  EXPECT_EQ(CommonDialog::QtFilter("Text Files (*.txt)|*.txt|All Files (*.*)|*.*"),
            "Text Files (*.txt);;All Files (*.*)");
  EXPECT_EQ(CommonDialog::QtFilter("Assembler|*.asm;*.inc"), "Assembler (*.asm *.inc)");

  CommonDialog dialog("CMDialog1");
  dialog.FileName = "old.txt";
  std::vector<CommonDialog::Action> seen;
  bool answer = true;
  SetDialogHook([&](CommonDialog& d, CommonDialog::Action action) {
    seen.push_back(action);
    d.FileName = "new.asm";
    d.FontName = "Courier New";
    return answer;
  });
  EXPECT_TRUE(dialog.ShowOpen());
  EXPECT_EQ(dialog.FileName, "new.asm");
  answer = false;
  dialog.FileName = "kept";
  EXPECT_FALSE(dialog.ShowSave());  // cancel without CancelError: nothing changes but the result
  EXPECT_EQ(dialog.FileName, "kept");
  dialog.CancelError = true;
  dialog.FontName = "Arial";
  try {
    dialog.ShowFont();
    ADD_FAILURE() << "no cancel error";
  } catch (const RunTimeError& error) {
    EXPECT_EQ(error.Number(), 32755);
  }
  EXPECT_EQ(dialog.FontName, "Arial");
  EXPECT_EQ(seen.size(), 3u);
  SetDialogHook(nullptr);

  // Unattended, a dialog cancels by itself.
  setenv("TAVIX_UNATTENDED", "1", 1);
  EXPECT_THROW(dialog.ShowOpen(), RunTimeError);
  QWidget modal;
  RunModalForm(modal);  // returns at once
  EXPECT_FALSE(modal.isVisible());
  unsetenv("TAVIX_UNATTENDED");

  std::vector<std::string> opened;
  SetShellHook([&](const ShellRequest& r) { opened.push_back(r.verb + " " + r.file); });
  dialog.HelpFile = "/x/TAVIX.HLP";
  dialog.HelpCommand = 15;
  dialog.ShowHelp();  // help goes through the shell
  EXPECT_EQ(opened, (std::vector<std::string>{"open /x/TAVIX.HLP"}));
  SetShellHook(nullptr);
}

TEST(Hooks, GuardedCallsShowTheErrorAndGoOn) {
  std::vector<std::string> boxes;
  SetMessageBoxHook([&](const std::string& text, const std::string& title, unsigned style) {
    boxes.push_back(title + "|" + text + "|" + std::to_string(style));
    return 1;
  });
  GuardedCall([] { throw RunTimeError(53, "File not found", 12); });
  GuardedCall([] { throw std::out_of_range("x"); });
  GuardedCall([] { throw RunTimeError(-5, "odd"); });
  GuardedCall([] {});
  SetMessageBoxHook(nullptr);
  EXPECT_EQ(boxes,
            (std::vector<std::string>{"Tavix|Monitor ERROR 53 12|48", "Tavix|Monitor ERROR 51 0|48",
                                      "Tavix|Monitor ERROR-5 0|48"}));

  int beeps = 0;
  SetBeepHook([&] { ++beeps; });
  Beep();
  SetBeepHook(nullptr);
  EXPECT_EQ(beeps, 1);
  {
    WaitCursor outer;
    {
      WaitCursor inner;
      EXPECT_EQ(WaitCursor::Depth(), 2);
    }
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  }
  EXPECT_EQ(WaitCursor::Depth(), 0);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  SetClipboardText("copied");
  EXPECT_EQ(ClipboardText(), "copied");
}

}  // namespace

// The Qt dialogs a person sees, answered through the modal hook: Open takes
// a name that does not exist yet unless the flags ask for an existing file;
// the printer dialog offers what the flags allow, chooses the printer of the
// jobs and returns the copies as separate jobs.
TEST(Hooks, QtDialogsRunThroughTheModalHook) {
  testsupport::TempDir dir;
  const QString wanted = QString::fromStdString(dir.file("to be written.asm"));
  const QString pdf = QString::fromStdString(dir.file("printed.pdf"));
  std::vector<std::string> seen;
  SetModalDialogHook([&](QDialog& shown) {
    seen.push_back(shown.metaObject()->className());
    EXPECT_FALSE(shown.isVisible());
    if (auto* box = qobject_cast<QFileDialog*>(&shown)) {
      if (box->fileMode() != QFileDialog::AnyFile) return shown.reject();
      box->selectFile(wanted);
      return shown.QDialog::accept();  // QFileDialog::accept checks the name
    }
    auto* box = qobject_cast<QPrintDialog*>(&shown);
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->testOption(QAbstractPrintDialog::PrintToFile));
    EXPECT_FALSE(box->testOption(QAbstractPrintDialog::PrintPageRange));
    EXPECT_FALSE(box->testOption(QAbstractPrintDialog::PrintSelection));
    EXPECT_EQ(box->printer()->copyCount(), 1);
    box->printer()->setOutputFileName(pdf);
    box->printer()->setCopyCount(3);
    shown.done(QDialog::Accepted);
  });
  CommonDialog dialog("CMDialog1");
  dialog.Filter = "ASM Files (*.asm)|*.asm";
  EXPECT_TRUE(dialog.ShowOpen());
  EXPECT_EQ(dialog.FileName, wanted.toStdString());
  EXPECT_EQ(dialog.FilterIndex, 1);
  dialog.Flags = CommonDialog::kFileMustExist;
  EXPECT_FALSE(dialog.ShowOpen());

  dialog.Flags = 0x8;  // no page numbers
  dialog.Copies = 1;
  EXPECT_TRUE(dialog.ShowPrinter());
  EXPECT_EQ(dialog.Copies, 3);
  EXPECT_TRUE(PrintLines({"one", "two"}, QFont(), "H"));
  EXPECT_GT(QFileInfo(pdf).size(), 0);
  // No printer and no file to print to: nothing to choose, no dialog.
  dialog.Flags = 0x80000;
  if (QPrinterInfo::availablePrinterNames().isEmpty()) {
    EXPECT_TRUE(dialog.ShowPrinter());
  }
  SetModalDialogHook(nullptr);
  EXPECT_EQ(seen, (std::vector<std::string>{"QFileDialog", "QFileDialog", "QPrintDialog"}));
}
