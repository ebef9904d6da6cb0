// The panel's run buttons and register controls in simulation, with real
// mouse and key input, on the real chip modules running a program the real
// assembler built and the real load command brought into the program grid.
#include <QCheckBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTest>

#include "core/code_grid.h"
#include "core/monitor_state.h"
#include "core/view.h"
#include "panel_fixture.h"
#include "platform/controls.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"
#include "platform/messages.h"

namespace {

using namespace monitor;

constexpr int kDone = paneltest::kCountingDone;

class PanelButtonsTest : public paneltest::PanelTest {
 protected:
  void Open(const std::string& controller) {
    StartMonitor();
    panel = Virtual(controller);
    ASSERT_NE(panel, nullptr);
    panel->resize(900, 600);
    const std::vector<uint16_t> image =
        paneltest::AssembleIn(work.path(), paneltest::kCountingFixture);
    ASSERT_EQ(image.size(), 9u);
    platform::SetDialogHook([&](platform::CommonDialog& dialog, platform::CommonDialog::Action) {
      dialogWindow.show();  // it has the keyboard while open; then the keys and the
      dialogWindow.activateWindow();  // chip's place in front are the panel's again
      EXPECT_TRUE(QTest::qWaitForWindowActive(&dialogWindow));
      dialogWindow.hide();
      dialog.FileName = work.path() + "FIXTURE.BIN";
      return true;
    });
    QTest::mouseClick(panel->Loadcodeimg, Qt::LeftButton);
    platform::SetDialogHook({});
    state.MainForm()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(state.MainForm()));
    ASSERT_EQ(state.ProgramMemory[kDone].instr, image[kDone]);
    const auto order = state.MainForm()->Area()->subWindowList(QMdiArea::StackingOrder);
    EXPECT_GT(order.indexOf(Host()->SubWindow()), order.indexOf(panel->SubWindow()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F8);
    EXPECT_EQ(Pc(), 1);
    Press(panel->resetimg);
  }
  static void Press(platform::ImageButton* image) { QTest::mouseClick(image, Qt::LeftButton); }
  static QString Look(auto* b) { return b->pictureName() + (b->isEnabled() ? " on " : " off "); }
  // The listing's row of an address, and the row the grid selects.
  int RowOf(int address) const { return FindCodeRow(*panel->grdProgram, address); }
  int SelectedRow() const { return panel->grdProgram->SelStartRow(); }
  void Type(QLineEdit* box, const QString& text, bool enter) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
    if (enter) QTest::keyClick(box, Qt::Key_Return);
  }

  testsupport::TempDir work;
  QWidget dialogWindow;
  IceView* panel = nullptr;
};

class PanelChipTest : public PanelButtonsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(PanelChipTest, StepRunToABreakpointAndStopARunFromTheButtons) {
  Open(GetParam());
  EXPECT_EQ(Pc(), 0);
  EXPECT_EQ(SelectedRow(), RowOf(0));
  EXPECT_TRUE(panel->resetimg->isEnabled());
  EXPECT_EQ(panel->resetimg->pictureName(), "backuppic");

  // Step: the pressed picture while the mouse is down, one instruction, and
  // the listing's row of the new program counter.
  QTest::mousePress(panel->stepimg, Qt::LeftButton);
  EXPECT_EQ(panel->stepimg->pictureName(), "stepdispic");
  QTest::mouseRelease(panel->stepimg, Qt::LeftButton);
  EXPECT_EQ(Pc(), 1);
  EXPECT_EQ(SelectedRow(), RowOf(1));
  EXPECT_EQ(panel->AccText->text(), "5");
  EXPECT_TRUE(panel->stepimg->isEnabled());
  EXPECT_EQ(panel->stepimg->pictureName(), "stepuppic");
  EXPECT_EQ(state.RunActive, 0);

  // Breakpoints on, one on DONE; Run ends there with three beeps.
  state.CpuStateDirty = 0;
  Press(panel->brkimg);
  EXPECT_NE(state.CpuState.word[k42::kProgBreakEnable], 0);
  EXPECT_EQ(state.CpuStateDirty, 0);
  paneltest::DoubleClickCell(*panel->grdProgram, RowOf(kDone), kBreakColumn);
  Host()->SetWindowState(1);           // a minimized periphery window is restored
  QString during;
  QObject::connect(Host()->SubWindow(), &QMdiSubWindow::windowStateChanged, panel, [&](auto was) {
    if (was & Qt::WindowMinimized) during = Look(panel->playimg);
  });
  for (int run = 0; run < 2; ++run) {  // the second stops at once, on DONE again
    SCOPED_TRACE(run);
    beeps = 0;
    Press(panel->playimg);
    EXPECT_EQ(Pc(), kDone);
    EXPECT_EQ(beeps, 3);
    EXPECT_EQ(panel->wheelpnl->Caption(), "STOP");
    EXPECT_EQ(panel->wheelpnl->ForeColor(), 0);
    EXPECT_EQ(state.RunActive, 0);
    EXPECT_EQ(panel->instrbrkpnl->Caption(), "I");
    EXPECT_EQ(SelectedRow(), RowOf(kDone));
    EXPECT_TRUE(panel->playimg->isEnabled());
  }
  EXPECT_EQ(during, "playuppic off ");
  EXPECT_EQ(Host()->WindowState(), 0);
  EXPECT_EQ(state.RegisterFile[0x10].value & 15, 5);

  // Stop during a run, released at round k of the module's pump: the run goes
  // on until it returns, the panel cannot be closed meanwhile, and the run
  // ends through its own path, inside the loop.
  Press(panel->resetimg);
  int runActiveAtStop = 0;
  QString wheelAtStop;
  bool closed = true;
  platform::RunPump::SetScriptAtRound(40, [&] {
    wheelAtStop = panel->wheelpnl->Caption();
    Press(panel->stopimg);
    runActiveAtStop = state.RunActive;
    panel->playimg_MouseUp(1, 0);  // a second Run reached through the pump
    closed = state.Forms.Unload("IceView");
  });
  beeps = 0;
  Press(panel->playimg);
  platform::RunPump::SetScript({});
  EXPECT_EQ(wheelAtStop, "RUN");
  EXPECT_EQ(runActiveAtStop, 1);
  EXPECT_FALSE(closed);
  EXPECT_NE(Pc(), kDone);
  EXPECT_GT(state.RegisterFile[0x11].value & 15, 0);
  EXPECT_EQ(beeps, 3);
  EXPECT_EQ(state.RunActive, 0);
  EXPECT_EQ(state.SimulatorBusy, 0);
  EXPECT_EQ(panel->wheelpnl->Caption(), "STOP");
  EXPECT_EQ(SelectedRow(), RowOf(Pc()));

  // Stop with nothing running: the key does nothing, the button steps.
  const int32_t pc = Pc();
  Key(Qt::Key_P);
  EXPECT_EQ(Pc(), pc);
  panel->stopimg_MouseUp(1, 0);
  EXPECT_EQ(Pc(), pc + 1);
  EXPECT_EQ(SelectedRow(), RowOf(Pc()));
  platform::RunPump::SetScriptAtRound(0, [&] { during = Look(panel->stepimg); });
  Press(panel->stepimg);
  EXPECT_EQ(during, "stepuppic off ");  // released while it executes
  EXPECT_TRUE(state.Forms.Unload("IceView"));
}

INSTANTIATE_TEST_SUITE_P(Chips, PanelChipTest,
                         ::testing::Values("QV4115", "QV4124", "QV4128", "QV4234"));

TEST_F(PanelButtonsTest, AnimateTraceAndResetButtons) {
  Open("QV4128");
  std::map<QString, QString> shown, captions = {{"Pc1option", "PC 0:"}, {"HaltCheck", "Halt"},
      {"Pc2Option", "PC 1:"}, {"Pc3Option", "PC 2:"}, {"CarryCheck", "Carry"}, {"ctl1035", "L"},
      {"CarryIntCheck", " Carry int"}, {"ZeroCheck", "Zero"}, {"InterruptCheck", " Interrupt"}};
  for (auto [n, t] : captions) shown[n] = state.MainForm()->findChild<QAbstractButton*>(n)->text();
  EXPECT_EQ(shown, captions);
  // Animate twice: one timer at 600 ms and one step; a tick steps again.
  Press(panel->animimg);
  Press(panel->animimg);
  EXPECT_TRUE(panel->timAnimate->Enabled());
  EXPECT_EQ(panel->timAnimate->Interval(), 600);
  EXPECT_EQ(Pc(), 1);
  panel->timAnimate->Tick();
  EXPECT_EQ(Pc(), 2);
  EXPECT_EQ(SelectedRow(), RowOf(2));
  // A tick while a command runs is not a second command; Reset is refused.
  state.RunActive = 1;
  panel->timAnimate->Tick();
  panel->resetimg_MouseUp(1, 0);
  EXPECT_EQ(Pc(), 2);
  EXPECT_TRUE(panel->timAnimate->Enabled());
  state.RunActive = 0;
  // Stop, Run, Step and Reset each end the animation; the run ends on DONE.
  Press(panel->brkimg);
  paneltest::DoubleClickCell(*panel->grdProgram, RowOf(kDone), kBreakColumn);
  for (platform::ImageButton* ender :
       {panel->stopimg, panel->stepimg, panel->resetimg, panel->playimg}) {
    Press(panel->animimg);
    ASSERT_TRUE(panel->timAnimate->Enabled()) << ender->objectName().toStdString();
    Press(ender);
    EXPECT_FALSE(panel->timAnimate->Enabled()) << ender->objectName().toStdString();
    EXPECT_EQ(Look(panel->playimg) + Look(panel->stepimg) + Look(panel->stopimg),
              "playuppic on stepuppic on stopdispic off ");
  }
  EXPECT_EQ(Pc(), kDone);

  // The program counter's row: masked to 12 bits; nothing for a stack level
  // out of range; a beep for an address without a row, as on the emulator.
  int32_t* words = state.CpuState.word;
  beeps = 0;
  words[k42::kPcStack] = 0x1002;
  panel->ShowProgramCounterRow();
  EXPECT_EQ(SelectedRow(), RowOf(2));
  words[k42::kStackLevel] = 3;
  words[k42::kPcStack] = 5;
  panel->ShowProgramCounterRow();
  words[k42::kStackLevel] = 0;
  words[k42::kPcStack] = 0x300;
  panel->ShowProgramCounterRow();
  EXPECT_EQ(SelectedRow(), RowOf(2));
  EXPECT_EQ(beeps, 1);

  // Reset: the reset PC row and the registers shown again.
  Press(panel->resetimg);
  EXPECT_EQ(Pc(), 0);
  EXPECT_EQ(SelectedRow(), RowOf(0));
  EXPECT_EQ(panel->Pc1Text->text(), "000");

  // Trace: both words go together, the state is marked, and switching on
  // loads the trace window at the press and again at the release.
  int traceLoads = 0;
  const auto takeTraceWindow = [&] {
    traceLoads += state.Forms.Get("Tracewin") != nullptr ? 1 : 0;
    state.Forms.Unload("Tracewin");
  };
  for (int32_t expected : {-1, 0}) {
    state.CpuStateDirty = 0;
    QTest::mousePress(panel->trcimg, Qt::LeftButton);
    EXPECT_EQ(panel->trcimg->pictureName(), expected != 0 ? "trcuppic" : "ntrcuppic");
    takeTraceWindow();
    QTest::mouseRelease(panel->trcimg, Qt::LeftButton);
    takeTraceWindow();
    EXPECT_EQ(state.CpuState.word[k42::kTraceEnable], expected);
    EXPECT_EQ(state.CpuState.word[k42::kTraceActive], expected);
    EXPECT_NE(state.CpuStateDirty, 0);
  }
  EXPECT_EQ(traceLoads, 2);  // at the press and the release that switch it on
}

TEST_F(PanelButtonsTest, RegisterBoxesFlagsAndSwitchesWriteTheCpuState) {
  Open("QV4128");
  int32_t* words = state.CpuState.word;
  // The accumulator follows each edit, with the zero flag.
  state.CpuStateDirty = 0;
  Type(panel->AccText, "0", false);
  EXPECT_EQ(words[k42::kAcc], 0);
  EXPECT_NE(words[k42::kZero], 0);
  EXPECT_TRUE(panel->ZeroCheck->isChecked());
  EXPECT_NE(state.CpuStateDirty, 0);
  Type(panel->AccText, "5", false);
  EXPECT_EQ(words[k42::kAcc], 5);
  EXPECT_EQ(words[k42::kZero], 0);
  EXPECT_FALSE(panel->ZeroCheck->isChecked());
  // Eight digits are a 32-bit value; a ninth does not fit and changes nothing.
  Type(panel->AccText, "123456789", false);
  EXPECT_EQ(words[k42::kAcc], 0x12345678);

  // A display refresh after a step rewrites the boxes and nothing else.
  Press(panel->stepimg);
  state.CpuStateDirty = 0;
  const int32_t zero = words[k42::kZero];
  words[k42::kAcc] = 0;
  RefreshPanel(state);
  EXPECT_EQ(panel->AccText->text(), "0");
  EXPECT_EQ(words[k42::kZero], zero);
  EXPECT_EQ(state.CpuStateDirty, 0);

  // The index register reaches the chip's registers 6EH and 6FH through the
  // module; values out of range are refused and the box redrawn.
  Type(panel->IndexText, "7F", true);
  EXPECT_EQ(words[k42::kIndex], 0x7F);
  EXPECT_EQ(state.RegisterFile[0x6E].value & 15, 0xF);
  EXPECT_EQ(state.RegisterFile[0x6F].value & 15, 0x7);
  for (const char* refused : {"80", "FFFF", "12345"}) {
    Type(panel->IndexText, refused, true);
    EXPECT_EQ(words[k42::kIndex], 0x7F) << refused;
    EXPECT_EQ(panel->IndexText->text(), "7F") << refused;
  }

  // A program-counter entry is written on Enter only, and its row shown.
  Type(panel->Pc1Text, "5", false);
  panel->AccText->setFocus();
  EXPECT_EQ(words[k42::kPcStack], 1);
  Type(panel->Pc1Text, "5", true);
  EXPECT_EQ(words[k42::kPcStack], 5);
  EXPECT_EQ(SelectedRow(), RowOf(5));
  Type(panel->Pc1Text, "1000", true);
  EXPECT_EQ(words[k42::kPcStack], 5);
  EXPECT_EQ(panel->Pc1Text->text(), "005");
  Type(panel->Pc3text, "7", true);

  // Stack levels: the selected one changes nothing; another shows its row.
  state.CpuStateDirty = 0;
  QTest::mouseClick(panel->Pc1option, Qt::LeftButton);
  EXPECT_EQ(state.CpuStateDirty, 0);
  QTest::mouseClick(panel->Pc3Option, Qt::LeftButton);
  EXPECT_EQ(words[k42::kStackLevel], 2);
  EXPECT_NE(state.CpuStateDirty, 0);
  EXPECT_EQ(SelectedRow(), RowOf(7));

  // Flags: 1 ticked, 0 clear.
  const std::pair<QCheckBox*, int> flags[] = {{panel->CarryCheck, k42::kCarry},
                                              {panel->CarryIntCheck, k42::kCarryInt},
                                              {panel->ZeroCheck, k42::kZero},
                                              {panel->InterruptCheck, k42::kInInterrupt},
                                              {panel->HaltCheck, k42::kHalted}};
  for (const auto& [box, word] : flags) {
    const int before = box->isChecked() ? 1 : 0;
    state.CpuStateDirty = 0;
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(words[word], 1 - before) << word;
    EXPECT_NE(state.CpuStateDirty, 0) << word;
  }

  // Switches: any non-zero value toggles to 0; only the breakpoint switch
  // leaves the state unmarked.
  words[k42::kDataBreakEnable] = 5;
  state.CpuStateDirty = 0;
  Press(panel->datimg);
  EXPECT_EQ(words[k42::kDataBreakEnable], 0);
  EXPECT_NE(state.CpuStateDirty, 0);
  state.CpuStateDirty = 0;
  Press(panel->Intimg);
  EXPECT_EQ(words[k42::kIceIntToggle], -1);
  EXPECT_NE(state.CpuStateDirty, 0);
  EXPECT_EQ(panel->Intimg->pictureName(), "nintuppic");
  state.CpuStateDirty = 0;
  QTest::mousePress(panel->brkimg, Qt::LeftButton);
  EXPECT_EQ(panel->brkimg->pictureName(), "brkuppic");
  QTest::mouseRelease(panel->brkimg, Qt::LeftButton);
  EXPECT_EQ(words[k42::kProgBreakEnable], -1);
  EXPECT_EQ(state.CpuStateDirty, 0);
  EXPECT_TRUE(boxes.empty());
}

}  // namespace
