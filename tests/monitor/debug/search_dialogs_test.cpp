// The find and go-to-label dialogs on the real panel and chip module
// (QV4128): the search in the view of the active window with its history and
// wrap question, the label type-ahead, and the dialogs' place in the
// monitor's loads and unloads.
#include <QLineEdit>
#include <QTest>

#include "core/code_grid.h"
#include "debug/formfind.h"
#include "debug/formgolabel.h"
#include "debug/ramwin.h"
#include "debug/view_search.h"
#include "debug/watchwin.h"
#include "panel_fixture.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"
#include "platform/messagebox.h"
#include "temp_dir.h"

namespace {

using namespace monitor;
using platform::GridControl;

// Listing rows 1-8: labels on rows 1, 2, 5, 6, 7 (two labels in one cell)
// and 8; "LOOP" also in row 3's remark and row 8's operand.
constexpr char kListing[] =
    "000001 0000 F803 : START:  LDI 3       ; set up\r\n"
    "000002 0001 1010 : LOOP:   STA 10H\r\n"
    "000003 0002 2010 :         INC 10H     ; LOOP counter\r\n"
    "000004 0003 3004 :         JMP LOOP1\r\n"
    "000005 0004 F80F : LOOP1:  LDI 15\r\n"
    "000006 0005 0000 : lower:  NOP\r\n"
    "                 : FIRST:\r\n"
    "                 : SECOND:\r\n"
    "000009 0006 0000 :         NOP\r\n"
    "000010 0007 3001 : LOOP2:  JMP LOOP\r\n";

constexpr char kSymbols[] =
    "; symbol table\r\n"
    "              Value:Length  Line          Class\r\n"
    "COUNT         0010  4       010001        -Reg\r\n"
    "SECOND        0011  4       010002        -Reg\r\n";

constexpr unsigned kNotFound = platform::MB_OK | platform::MB_ICONEXCLAMATION;
constexpr unsigned kWrap = platform::MB_YESNO | platform::MB_ICONQUESTION;

class SearchDialogsTest : public paneltest::PanelTest {
 protected:
  void SetUp() override {
    StartMonitor();
    panel = Virtual("QV4128");
    ASSERT_NE(panel, nullptr);
    grid = panel->grdProgram;
    LoadListing(kListing);
    platform::SetMessageBoxHook(
        [this](const std::string& text, const std::string& title, unsigned style) {
          asked.push_back(title + "|" + text + "|" + std::to_string(style));
          if (onBox) onBox();
          return style == kWrap ? answer : platform::DefaultAnswer(style);
        });
  }

  // The panel's Load button with a listing and symbol file of that text.
  void LoadListing(const char* listing) {
    files.write("prog.prn", listing);
    files.write("prog.sym", kSymbols);
    platform::SetDialogHook([this](platform::CommonDialog& dialog, platform::CommonDialog::Action) {
      dialog.FileName = files.file("prog.bin");
      return true;
    });
    QTest::mousePress(panel->Loadcodeimg, Qt::LeftButton);
    QTest::mouseRelease(panel->Loadcodeimg, Qt::LeftButton);
  }
  FormFind* Find() const { return dynamic_cast<FormFind*>(state.Forms.Get("FormFind")); }
  FormGoLabel* GoLabel() const {
    return dynamic_cast<FormGoLabel*>(state.Forms.Get("FormGoLabel"));
  }
  // A new search text typed over the old one, and Find pressed.
  void Search(const QString& text) {
    QLineEdit* edit = Find()->Find1Combo->lineEdit();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    Find()->BttnGo->click();
  }
  int Selected(const GridControl* view) const {
    return view->SelStartRow() == view->SelEndRow() ? view->SelStartRow() : -1;
  }
  QStringList Labels() const {
    QStringList labels;
    for (int i = 0; i < GoLabel()->ListLabels->ListCount(); ++i) {
      labels << GoLabel()->ListLabels->List(i);
    }
    return labels;
  }
  void Type(Qt::Key key) { QTest::keyClick(GoLabel()->ListLabels, key); }

  IceView* panel = nullptr;
  GridControl* grid = nullptr;
  testsupport::TempDir files;
  std::vector<std::string> asked;
  std::function<void()> onBox;
  int answer = platform::IDYES;
};

TEST_F(SearchDialogsTest, FindSearchesFromTheLastHitAndKeepsItsHistory) {
  EXPECT_TRUE(state.MainForm()->Menu("mnuitFind")->isEnabled());
  EXPECT_TRUE(state.MainForm()->Menu("mnuitFindNext")->isEnabled());
  EXPECT_TRUE(state.MainForm()->Menu("mnuitLabel")->isEnabled());
  Click("mnuitFind");
  FormFind* find = Find();
  ASSERT_NE(find, nullptr);
  EXPECT_EQ(find->Caption(), "Find");
  EXPECT_TRUE(find->isVisible());
  EXPECT_EQ(find->windowModality(), Qt::NonModal);
  state.Forms.Show(panel);

  // A first search that finds nothing: "not found" at once, the text already
  // on top of the history when the search runs.
  QStringList historyAtBox;
  onBox = [&] { historyAtBox << find->Find1Combo->List(0); };
  Search("nowhere");
  EXPECT_EQ(asked, (std::vector<std::string>{"Tavix|not found|" + std::to_string(kNotFound)}));
  EXPECT_EQ(historyAtBox, QStringList{"nowhere"});
  onBox = nullptr;
  asked.clear();

  // Whole words, case ignored: the label, the remark, the operand; LOOP1 and
  // LOOP2 are other words.
  // Typed in the active dialog and Find clicked: the focus leaves the combo
  // first and the text goes in once; the panel is still the view searched.
  find->chkboxWord->click();
  find->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(find));
  find->Find1Combo->setFocus();
  find->Find1Combo->lineEdit()->selectAll();
  QTest::keyClicks(find->Find1Combo->lineEdit(), "loop");
  QTest::mouseClick(find->BttnGo, Qt::LeftButton);
  EXPECT_FALSE(find->Find1Combo->hasFocus());
  EXPECT_EQ(Selected(grid), 2);
  Click("mnuitFindNext");
  EXPECT_EQ(Selected(grid), 3);
  Find()->BttnGo->click();  // the same text again: searched, not added again
  EXPECT_EQ(Selected(grid), 8);
  EXPECT_EQ(find->Find1Combo->ListCount(), 2);
  // At the end: No keeps the last hit; Yes goes on from the start.
  answer = platform::IDNO;
  Click("mnuitFindNext");
  EXPECT_EQ(Selected(grid), 8);
  answer = platform::IDYES;
  Click("mnuitFindNext");
  EXPECT_EQ(Selected(grid), 2);
  EXPECT_EQ(asked,
            (std::vector<std::string>(
                2, "Tavix|End of File arrived; continue from start ?|" + std::to_string(kWrap))));
  asked.clear();
  // With the case: nothing below row 2, nothing above: "not found".
  find->chkboxCase->click();
  Click("mnuitFindNext");
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(asked.back(), "Tavix|not found|" + std::to_string(kNotFound));
  EXPECT_EQ(Selected(grid), 2);

  // The history keeps the newest 50, and outlives the dialog.
  for (int i = 0; i < 60; ++i) Search(QString("t%1").arg(i));
  ASSERT_EQ(find->Find1Combo->ListCount(), 50);
  EXPECT_EQ(find->Find1Combo->List(0), "t59");
  EXPECT_EQ(find->Find1Combo->List(49), "t10");
  Search("t58");  // equal texts are not merged
  EXPECT_EQ(find->Find1Combo->List(0), "t58");
  EXPECT_EQ(find->Find1Combo->List(2), "t58");
  Search("LOOP1");
  EXPECT_EQ(Selected(grid), 4);
  find->BttnClose->click();
  EXPECT_EQ(Find(), nullptr);
  // Find Next with the dialog closed: the kept entry, without the options.
  Click("mnuitFindNext");
  EXPECT_EQ(Selected(grid), 5);
  Click("mnuitFind");
  ASSERT_NE(Find(), nullptr);
  EXPECT_EQ(Find()->Find1Combo->ListCount(), 50);
  EXPECT_EQ(Find()->Find1Combo->Text(), "LOOP1");
  EXPECT_FALSE(Find()->chkboxWord->isChecked());
  EXPECT_FALSE(Find()->chkboxCase->isChecked());
}

TEST_F(SearchDialogsTest, TheActiveWindowChoosesTheViewEachWithItsOwnLastHit) {
  auto* watch = dynamic_cast<Watchwin*>(state.Forms.Get("Watchwin"));
  auto* ram = dynamic_cast<RAMWin*>(state.Forms.Get("RAMWin"));
  ASSERT_NE(watch, nullptr);
  ASSERT_NE(ram, nullptr);
  // Find Next before the dialog was ever opened: no text, nothing found.
  state.Forms.Show(panel);
  Click("mnuitFindNext");
  EXPECT_EQ(asked, (std::vector<std::string>{"Tavix|not found|" + std::to_string(kNotFound)}));
  asked.clear();
  Click("mnuitFind");
  state.Forms.Show(panel);
  Search("SECOND");
  EXPECT_EQ(Selected(grid), 7);

  state.Forms.Show(watch);
  Click("mnuitFindNext");
  EXPECT_EQ(Selected(watch->grdSymbols), 2);
  state.Forms.Show(ram);
  Click("mnuitFindNext");
  EXPECT_EQ(Selected(ram->grdRAM), 0x11 + 1);
  EXPECT_TRUE(asked.empty());

  // A window whose caption holds "RAM" but is no RAM window is not searched.
  platform::Form* host = Host();
  host->SetCaption("RAM trace");
  state.Forms.Show(host);
  Click("mnuitFindNext");
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(Selected(ram->grdRAM), 0x11 + 1);

  // Back in the panel the search goes on from its own last hit.
  state.Forms.Show(panel);
  Click("mnuitFindNext");
  EXPECT_EQ(asked.size(), 1u);  // the wrap question
  EXPECT_EQ(Selected(grid), 7);
}

TEST_F(SearchDialogsTest, LabelTypeAheadMovesTheProgramGrid) {
  Click("mnuitLabel");
  FormGoLabel* dialog = GoLabel();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->Caption(), "Go to Label");
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(Labels(),
            (QStringList{"START:", "LOOP:", "LOOP1:", "lower:", "FIRST:,SECOND:", "LOOP2:"}));

  // "l" then "o": the first label beginning with "LO"; never "lower:".
  Type(Qt::Key_L);
  EXPECT_EQ(dialog->TxtBoxLabel->text(), "L");
  EXPECT_EQ(Selected(grid), 2);
  EXPECT_EQ(grid->Col(), 5);
  Type(Qt::Key_O);
  Type(Qt::Key_O);
  Type(Qt::Key_P);
  Type(Qt::Key_1);
  EXPECT_EQ(dialog->LabelPrefix, "LOOP1");
  EXPECT_EQ(Selected(grid), 5);
  EXPECT_TRUE(dialog->LabelTimer->Running());
  // No label begins with the prefix: the selection stays.
  Type(Qt::Key_X);
  EXPECT_EQ(dialog->ListLabels->Text(), "LOOP1:");
  // After the timer the next key starts afresh.
  dialog->LabelTimer->Tick();
  EXPECT_EQ(dialog->TxtBoxLabel->text(), "");
  EXPECT_FALSE(dialog->LabelTimer->Running());
  Type(Qt::Key_F);
  EXPECT_EQ(Selected(grid), 7);
  // Escape empties the prefix; Backspace on an empty prefix picks the first
  // entry, and picking the same entry again moves the grid again.
  Type(Qt::Key_Escape);
  EXPECT_EQ(dialog->LabelPrefix, "");
  Type(Qt::Key_Backspace);
  EXPECT_EQ(Selected(grid), 1);
  ShowCodeRow(*grid, 6, 1);
  Type(Qt::Key_Backspace);
  EXPECT_EQ(Selected(grid), 1);
  // The arrow keys choose as well.
  Type(Qt::Key_Down);
  EXPECT_EQ(Selected(grid), 2);

  // Search > Label while the dialog is open: the list stays, the prefix goes.
  Type(Qt::Key_S);
  grid->SetTextMatrix(2, 5, "CHANGED:");
  Click("mnuitLabel");
  EXPECT_EQ(dialog->TxtBoxLabel->text(), "");
  EXPECT_EQ(dialog->LabelPrefix, "");
  EXPECT_EQ(Labels()[1], "LOOP:");
  // A refill lists the grid and chooses nothing; the grid stays where it is.
  ShowCodeRow(*grid, 6, 1);
  state.Seams.debug.FillLabelList();
  EXPECT_EQ(Labels()[1], "CHANGED:");
  EXPECT_EQ(dialog->ListLabels->ListIndex(), -1);
  EXPECT_EQ(Selected(grid), 6);
  // A label compares exactly: no cell is "loop:".
  GoToLabel(state, "loop:");
  EXPECT_EQ(Selected(grid), 6);

  // A code load refreshes the open dialog's list.
  LoadListing("000001 0000 F803 : AGAIN:  LDI 3\r\n");
  EXPECT_EQ(Labels(), QStringList{"AGAIN:"});
  // Hidden, it stays hidden when it loses the focus.
  state.Forms.Hide("FormGoLabel");
  dialog->OnDeactivate();
  EXPECT_FALSE(dialog->isVisible());
  // Search > Label on the hidden dialog fills it again and shows it.
  grid->SetTextMatrix(1, 5, "THERE:");
  Click("mnuitLabel");
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(Labels(), QStringList{"THERE:"});
}

TEST_F(SearchDialogsTest, ThePanelAndTheMainWindowUnloadTheDialogs) {
  Click("mnuitFind");
  Click("mnuitLabel");
  ASSERT_NE(Find(), nullptr);
  ASSERT_NE(GoLabel(), nullptr);
  state.Forms.Unload("IceView");
  EXPECT_EQ(Find(), nullptr);
  EXPECT_EQ(GoLabel(), nullptr);
  EXPECT_FALSE(state.MainForm()->Menu("mnusearch")->isEnabled());

  state.Forms.Show("FormFind");
  state.Forms.Show("FormGoLabel");
  EXPECT_TRUE(Labels().isEmpty());  // no panel, no labels
  EXPECT_TRUE(state.MainForm()->CloseFrame());
  EXPECT_EQ(Find(), nullptr);
  EXPECT_EQ(GoLabel(), nullptr);
}

}  // namespace
