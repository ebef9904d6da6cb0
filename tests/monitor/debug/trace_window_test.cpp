// The trace window on the real panel in simulation: its load and menus, the
// page and the scroll bar, marks set with real mouse presses, the mode list
// and RESET, the trace file, the trace print and the font.
#include <sys/stat.h>
#include <unistd.h>

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QTextBlock>
#include <fstream>
#include <sstream>

#include "core/code_grid.h"
#include "core/settings/mdl_registry.h"
#include "core/settings/registry_layout.h"
#include "debug/code_load.h"
#include "debug/tracewin.h"
#include "panel_fixture.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"
#include "platform/messagebox.h"
#include "recording_printer.h"

namespace {

using namespace monitor;

QString Blanks(int n) {
  return QString(n, u' ');
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class TraceWindowTest : public paneltest::PanelTest {
 protected:
  void SetUp() override {
    StartMonitor();
    ASSERT_NE(Virtual("QV4128"), nullptr);
    ASSERT_EQ(state.TargetState, 32);
    std::vector<uint16_t> words;
    for (int i = 0; i < 64; ++i) words.push_back(static_cast<uint16_t>(0xB800 + i));
    LoadProgram(words);
    platform::GridControl& grid = *Panel()->grdProgram;
    // Address 3 (row 4) with every column, its label one too long.
    grid.SetTextMatrix(4, kLabelColumn, "VERYLONGLABEL");
    grid.SetTextMatrix(4, kInstrColumn, "LD");
    grid.SetTextMatrix(4, kOperandColumn, "A,#5");
    grid.SetTextMatrix(4, kRemarkColumn, "start");
    platform::SetMessageBoxHook(
        [this](const std::string& text, const std::string& title, unsigned style) {
          boxes.push_back(title + "|" + text + "|" + std::to_string(style));
          if (answers.empty()) return platform::DefaultAnswer(style);
          const int answer = answers.front();
          answers.erase(answers.begin());
          return answer;
        });
    platform::SetPrinterFactory([this] { return testsupport::CapturingPrinter(paper); });
  }
  void TearDown() override {
    platform::SetPrinterFactory(nullptr);
    chmod(files.path().c_str(), 0755);
  }
  Tracewin* Window() const { return dynamic_cast<Tracewin*>(state.Forms.Get("Tracewin")); }
  Tracewin* Open() {
    LoadTraceWindow(state);
    Tracewin* window = Window();
    if (window != nullptr) QTest::qWait(1);
    return window;
  }
  // Records 0..count-1 at addresses 0..count-1, trace on, index `count`.
  void Record(int count) {
    for (int i = 0; i < count; ++i)
      state.TraceBuffer[static_cast<size_t>(i)] = {i, i & 15, i & 7};
    state.CpuState.word[k42::kTraceActive] = -1;
    state.CpuState.word[k42::kTraceIndex] = count;
  }
  // A press and release of `button` on text row `row` of the page (a row
  // past the last is below it).
  void ClickRow(Tracewin& w, int row, Qt::MouseButton button) {
    TraceTextBox* box = w.Traceout;
    QTextBlock block = box->document()->findBlockByNumber(row);
    QPoint at;
    if (block.isValid() && block.length() > 1) {
      QTextCursor cursor(block);
      cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 2);
      at = box->cursorRect(cursor).center();
    } else {
      at = QPoint(5, box->viewport()->height() - 2);
    }
    QTest::mousePress(box->viewport(), button, {}, at);
    QTest::mouseRelease(box->viewport(), button, {}, at);
  }
  // Answers the save and font dialogs: the name to save, or "" to cancel.
  void AnswerDialogs(const std::string& name) {
    platform::SetDialogHook([this, name](platform::CommonDialog& dialog,
                                         platform::CommonDialog::Action action) {
      dialogs.push_back(dialog.DialogTitle + "|" + dialog.Filter);
      if (action == platform::CommonDialog::Action::Font) {
        if (font.isEmpty()) return false;
        dialog.FontName = font;
        dialog.FontSize = 11;
        dialog.FontBold = true;
        dialog.FontItalic = false;
        return true;
      }
      if (name.empty()) return false;
      dialog.FileName = name;
      return true;
    });
  }
  void Print(const char* from, const char* to) {
    state.MainForm();
    Window()->Menus().Item("mnuFPrint")->trigger();
    auto* print = dynamic_cast<TracePrint*>(state.Forms.Get("TracePrint"));
    ASSERT_NE(print, nullptr);
    print->startadr->setText(from);
    print->endadr->setText(to);
    QTest::mouseClick(print->Printbtn, Qt::LeftButton);
  }

  testsupport::TempDir files;
  testsupport::Paper paper;
  std::vector<int> answers;
  std::vector<std::string> dialogs;
  QString font;
};

TEST_F(TraceWindowTest, OpensOnlyWhenAskedShowsPagesAndMeasuresWithTheMouse) {
  // Not loaded: an update neither loads the window nor touches the records.
  Record(40);
  state.Seams.debug.UpdateTraceWindow();
  EXPECT_EQ(Window(), nullptr);
  EXPECT_EQ(state.TraceBuffer[5].pc, 5);

  Tracewin* w = Open();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Caption(), "Trace Buffer");
  EXPECT_EQ(w->tracemodeCombo->count(), 2);
  EXPECT_EQ(w->tracemodeCombo->itemText(1), "Last Instruction Mode");
  EXPECT_EQ(w->CyclesBox->Caption(), "Nr.of");
  EXPECT_FALSE(w->Label3->isVisible());
  // Opening the window empties the records.
  EXPECT_EQ(state.TraceBuffer[5].pc, -1);
  EXPECT_EQ(state.CpuState.word[k42::kTraceIndex], 0);
  // Its own menus: built commands enabled, the workbench's disabled.
  const platform::MenuSet& menus = w->Menus();
  EXPECT_EQ(menus.Item("mnuFSave")->text(), "&Save");
  EXPECT_TRUE(menus.Item("mnuFPrint")->isEnabled());
  EXPECT_EQ(menus.Item("mnuabout")->text(), "&About Tavix...");
  for (const char* off : {"buildprojmnu", "mnuAssemble", "mnudissasm", "mnuTips", "mnuabout",
                          "mnuRecentFile(1)"})
    EXPECT_FALSE(menus.Item(off)->isEnabled()) << off;
  EXPECT_EQ(w->OwnMenus().size(), 4u);

  // The line height is the text's own line spacing; TVL = n - round(n / 10).
  const int lines = w->Trace.TraceVisibleLines;
  ASSERT_GT(lines, 4);
  EXPECT_EQ(w->VScroll1->pageStep(), lines);

  // The poll's update in simulation shows the newest records, never the link.
  Record(40);
  state.Seams.debug.UpdateTraceWindow();
  EXPECT_EQ(w->VScroll1->value(), ScrollValueFor(40, lines));
  const int top = TracePageTop(w->VScroll1->value(), lines);
  const QStringList rows = w->Page.split("\r\n");
  ASSERT_EQ(rows.size(), lines + 2);
  EXPECT_EQ(rows[0], TraceRow(state, top, true));
  EXPECT_EQ(TraceRow(state, 3, true), "0003 003 3 * * _ 0B803 ERYLONGLABEL LD    " + Blanks(3) + "A,#5" +
                              Blanks(16 + 3) + "start" + Blanks(15));
  // Scrolling the bar shows that page.
  w->VScroll1->setValue(8191);
  EXPECT_TRUE(w->Page.startsWith(QString::asprintf("%04X ", 8191 - lines)));
  EXPECT_TRUE(w->Page.endsWith("1FFF \r\n"));
  // The newest record at the top, so that an activation keeps the page.
  state.CpuState.word[k42::kTraceIndex] = 0;
  w->VScroll1->setValue(0);

  // Right press and release on row 2: start and end there (2 cycles); a
  // left click on row 6: end mark there, 10 cycles, the rows highlighted.
  ClickRow(*w, 2, Qt::RightButton);
  EXPECT_EQ(w->Trace.TraceMarkStart, "0002");
  EXPECT_EQ(w->CyclesBox->Caption(), "2");
  ClickRow(*w, 6, Qt::LeftButton);
  EXPECT_EQ(w->Trace.TraceMarkEnd, "0006");
  EXPECT_EQ(w->CyclesBox->Caption(), "10");
  const int from = static_cast<int>(w->Page.indexOf("0002"));
  const int to = static_cast<int>(w->Page.indexOf("\r", w->Page.indexOf("0006")));
  EXPECT_EQ(platform::SelStart(*w->Traceout), from);
  EXPECT_EQ(platform::SelLength(*w->Traceout), to - from);
  // Below the last row: "1FFF", the count in decimal.
  ClickRow(*w, lines + 5, Qt::LeftButton);
  EXPECT_EQ(w->Trace.TraceMarkEnd, "1FFF");
  EXPECT_EQ(w->CyclesBox->Caption(), QString::number(2 * (0x1FFF - 2 + 1)));
  // Above the start: the end collapses onto it.
  ClickRow(*w, 0, Qt::LeftButton);
  EXPECT_EQ(w->Trace.TraceMarkEnd, "0002");
  EXPECT_EQ(w->CyclesBox->Caption(), "2");

  // Last-instruction mode from the list: word 27 -1, records emptied.
  Record(40);
  w->tracemodeCombo->setCurrentIndex(1);
  emit w->tracemodeCombo->activated(1);
  EXPECT_EQ(state.CpuState.word[k42::kTraceWrap], -1);
  EXPECT_EQ(state.CpuStateDirty, -1);
  EXPECT_EQ(state.TraceBuffer[5].pc, -1);
  // An update there clears the records from word 25 on and the stopped word.
  Record(40);
  state.TraceBuffer[45] = {1, 1, 1};
  state.CpuState.word[k42::kTraceStopped] = -1;
  w->readbtn->click();
  EXPECT_EQ(state.TraceBuffer[39].pc, 39);
  EXPECT_EQ(state.TraceBuffer[45].pc, -1);
  EXPECT_EQ(state.CpuState.word[k42::kTraceStopped], 0);

  // One-time mode, stopped: read once, then blocked until RESET.
  state.CpuState.word[k42::kTraceWrap] = 0;
  state.CpuState.word[k42::kTraceStopped] = -1;
  w->readbtn->click();
  EXPECT_EQ(w->Trace.TraceReadEnd, 0x1FFF);
  EXPECT_EQ(w->Trace.TraceReadComplete, -1);
  w->VScroll1->setValue(300);
  w->readbtn->click();
  EXPECT_EQ(w->VScroll1->value(), 300);
  w->Resetbtn->click();
  EXPECT_EQ(w->Trace.TraceReadComplete, 0);
  EXPECT_EQ(w->VScroll1->value(), 1);
  EXPECT_EQ(state.TraceBuffer[39].pc, -1);
  // Word 25 = 0, not stopped: nothing to read, end -1.
  state.CpuState.word[k42::kTraceStopped] = 0;
  w->readbtn->click();
  EXPECT_EQ(w->Trace.TraceReadEnd, -1);
  // Trace off: nothing at all.
  state.CpuState.word[k42::kTraceActive] = 0;
  w->VScroll1->setValue(300);
  w->readbtn->click();
  EXPECT_EQ(w->VScroll1->value(), 300);

  // VScroll1 is the one vertical bar, also in a window too low for the page.
  w->Outer()->resize(w->Outer()->width(), 90);
  EXPECT_TRUE(w->VScroll1->isVisible() && !w->Traceout->verticalScrollBar()->isVisible());
  // The panel's unload takes the trace window with it.
  state.Forms.Unload("IceView");
  EXPECT_EQ(Window(), nullptr);
}

TEST_F(TraceWindowTest, TraceFileKeepsThePreviousFileOnFailureAndPrintsInPages) {
  Tracewin* w = Open();
  ASSERT_NE(w, nullptr);
  const std::string path = files.path() + "run.trc";
  // Cancel writes nothing.
  AnswerDialogs("");
  w->Menus().Item("mnuFSave")->trigger();
  EXPECT_EQ(dialogs.back(),
            "Save Trace Buffer to File|TRACE Files (*.trc)|*.trc|All Files (*.*)|*.*");
  EXPECT_NE(access(path.c_str(), F_OK), 0);

  // After RESET: 8192 lines of the index and a blank.
  AnswerDialogs(path);
  w->Menus().Item("mnuFSave")->trigger();
  std::string text = ReadFile(path);
  EXPECT_EQ(text.size(), 57344u);
  EXPECT_EQ(text.substr(0, 14), "0000 \r\n0001 \r\n");
  EXPECT_EQ(text.substr(text.size() - 7), "1FFF \r\n");
  EXPECT_EQ(w->Caption().toStdString(), "TRACE (" + path + ")");
  EXPECT_EQ(state.Status.Shown(), "Ready");
  EXPECT_EQ(state.Status.FloodType(), 0);

  // Seeded records in the file form: flags 2, a 4-digit code, a cut label,
  // an empty remark as 20 blanks, a record without listing row its columns.
  state.TraceBuffer[2] = {2, 1, 2};
  state.TraceBuffer[3] = {3, 0xA, 5};
  state.TraceBuffer[12] = {12, 0, 0};
  state.TraceBuffer[100] = {0x800, 3, 0};
  w->SetCaption("Trace Buffer");
  // A declined "Replace File?" writes nothing and keeps the caption.
  answers = {platform::IDCANCEL};
  w->Menus().Item("mnuFSave")->trigger();
  EXPECT_EQ(boxes.back(), "Replace File?|Replace contents of " + path + "?|49");
  EXPECT_EQ(ReadFile(path), text);
  EXPECT_EQ(w->Caption(), "Trace Buffer");
  w->Menus().Item("mnuFSave")->trigger();
  text = ReadFile(path);
  std::istringstream lines(text);
  std::vector<std::string> file;
  for (std::string line; std::getline(lines, line);) file.push_back(line);
  ASSERT_EQ(file.size(), 8192u);
  EXPECT_EQ(file[2], "0002 002 1 _ * _ 0B802 " + Blanks(12 + 1 + 6 + 3 + 20 + 3 + 20).toStdString() +
                         "\r");
  EXPECT_EQ(file[3].substr(0, 35), "0003 003 A * _ * 0B803 ERYLONGLABEL");
  EXPECT_EQ(file[12].substr(0, 22), "000C 00C 0 _ _ _ 0B80C");
  EXPECT_EQ(file[100], "0064 800 3 _ _ _ \r");

  // A read-only folder: one message with the reason, the old file and the
  // caption kept.
  if (geteuid() != 0) {
    ASSERT_EQ(chmod(files.path().c_str(), 0555), 0);
    state.TraceBuffer[2].pc = -1;
    const std::string caption = w->Caption().toStdString();
    w->Menus().Item("mnuFSave")->trigger();
    EXPECT_EQ(boxes.back().substr(0, 11 + path.size()), "File Error|" + path);
    EXPECT_EQ(ReadFile(path), text);
    EXPECT_EQ(w->Caption().toStdString(), caption);
    EXPECT_EQ(state.Status.Shown(), "Ready");
    chmod(files.path().c_str(), 0755);
  }

  // Print: one line; a reversed range refused with the dialog kept open.
  Print("1FFF", "1FFF");
  ASSERT_EQ(paper.jobs.size(), 1u);
  EXPECT_EQ(paper.jobs[0].pages, (std::vector<std::vector<QString>>{{"1FFF "}}));
  EXPECT_EQ(state.Forms.Get("TracePrint"), nullptr);
  Print("10", "F");
  EXPECT_EQ(boxes.back(), "Tavix|Invalid address selection|0");
  EXPECT_NE(state.Forms.Get("TracePrint"), nullptr);
  EXPECT_EQ(paper.jobs.size(), 1u);
  // Ten lines a page: 20 lines fill two pages exactly, 21 need a third.
  paper.linesPerPage = 10;
  Print("0", "13");
  ASSERT_EQ(paper.jobs.size(), 2u);
  EXPECT_EQ(paper.jobs[1].pages.size(), 2u);
  EXPECT_EQ(paper.jobs[1].pages[0][3].toStdString(), file[3].substr(0, file[3].size() - 1));
  Print("0", "14");
  EXPECT_EQ(paper.jobs[2].pages.size(), 3u);
  EXPECT_EQ(paper.jobs[2].font, w->Traceout->font().family());
  // No printer: one message, nothing printed.
  paper.available = false;
  Print("0", "1");
  EXPECT_EQ(boxes.back(), "Tavix|No printer is available.|48");
  EXPECT_EQ(paper.jobs.size(), 3u);

  // Font: Cancel changes nothing; a choice is applied and stored.
  const QFont before = w->Traceout->font();
  AnswerDialogs("");
  w->Menus().Item("mnuFontName")->trigger();
  EXPECT_EQ(w->Traceout->font(), before);
  font = "Monospace";
  w->Menus().Item("mnuFontName")->trigger();
  EXPECT_EQ(w->Traceout->font().family(), "Monospace");
  EXPECT_TRUE(w->Traceout->font().bold());
  const std::string key = std::string(kTavixKey) + "\\trace window";
  using monitor::RegGetSetting;
  EXPECT_EQ(RegGetSetting(platform::HKEY_CURRENT_USER, key, "fontname").AsText(), "Monospace");
  EXPECT_EQ(RegGetSetting(platform::HKEY_CURRENT_USER, key, "fontsize").AsNumber(), 11);
  EXPECT_EQ(RegGetSetting(platform::HKEY_CURRENT_USER, key, "fontpara").AsNumber(), 2);
}

// The trace file carries the listing's 8-bit characters byte for byte.
TEST_F(TraceWindowTest, TraceFileKeepsTheListingsBytes) {
  std::ofstream(files.path() + "e9.prn", std::ios::binary) << "000001 0000 B801 : NOP ; caf\xE9\r\n";
  LoadDebugInfo(state, files.path() + "e9.prn");
  Tracewin* w = Open();
  ASSERT_NE(w, nullptr);
  state.TraceBuffer[0] = {0, 1, 0};
  AnswerDialogs(files.path() + "e9.trc");
  w->Menus().Item("mnuFSave")->trigger();
  const std::string text = ReadFile(files.path() + "e9.trc");
  const std::string line = text.substr(0, text.find('\n') + 1);
  EXPECT_EQ(line.substr(line.size() - 22), "caf\xE9" + std::string(16, ' ') + "\r\n");
}

}  // namespace
