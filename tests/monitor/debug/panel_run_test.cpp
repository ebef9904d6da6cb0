// Go, step, stop, animate and reset from the panel's keys, on a real chip
// running a program from the real assembler.
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include "core/monitor_state.h"
#include "core/run_commands.h"
#include "panel_fixture.h"
#include "platform/controls.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"
#include "platform/messages.h"

namespace {

using namespace monitor;

using paneltest::kCountingFixture;
constexpr int kDone = paneltest::kCountingDone;

class PanelRunTest : public paneltest::PanelTest {
 protected:
  void SetUp() override {
    static const std::vector<uint16_t> program = paneltest::Assemble(kCountingFixture);
    ASSERT_EQ(program.size(), 9u);
    StartMonitor();
    panel = Virtual("QV4128");
    ASSERT_NE(panel, nullptr);
    LoadProgram(program);
  }
  int SelectedRow() const { return panel->grdProgram->SelStartRow(); }
  IceView* panel = nullptr;
};

TEST_F(PanelRunTest, ResetStepAndGoToABreakpoint) {
  state.CpuState.word[k42::kAcc] = 3;
  Key(Qt::Key_R);  // R alone does nothing
  EXPECT_EQ(state.CpuState.word[k42::kAcc], 3);
  Key(Qt::Key_R, Qt::AltModifier);
  EXPECT_EQ(state.CpuState.word[k42::kAcc], 0);
  EXPECT_EQ(Pc(), 0);
  EXPECT_EQ(SelectedRow(), 1);
  EXPECT_TRUE(panel->resetimg->isEnabled());

  // F8: one instruction, the displays and the row follow.
  state.CpuState.word[k42::kProgBreakHit] = 1;
  panel->instrbrkpnl->SetCaption("I");
  Key(Qt::Key_F8);
  EXPECT_EQ(Pc(), 1);
  EXPECT_EQ(panel->AccText->text(), "5");
  EXPECT_EQ(panel->Pc1Text->text(), "001");
  EXPECT_EQ(panel->instrbrkpnl->Caption(), "");
  EXPECT_EQ(SelectedRow(), 2);
  EXPECT_EQ(state.RunActive, 0);
  EXPECT_EQ(panel->stepimg->pictureName(), "stepuppic");

  // F5 to the breakpoint on DONE; an F5 arriving during the run is refused.
  state.ProgramMemory[kDone].flags = k42::kCellBreakpoint;
  state.CpuState.word[k42::kProgBreakEnable] = 1;
  int runActiveSeen = 0;
  QString wheelDuringRun;
  platform::RunPump::SetScriptAtRound(40, [&] {
    runActiveSeen = state.RunActive;
    wheelDuringRun = panel->wheelpnl->Caption();
    Key(Qt::Key_F5);
    Key(Qt::Key_F8);
  });
  beeps = 0;
  Key(Qt::Key_F5);
  platform::RunPump::SetScript({});
  EXPECT_EQ(runActiveSeen, 1);
  EXPECT_EQ(wheelDuringRun, "RUN");
  EXPECT_EQ(Pc(), kDone);
  EXPECT_EQ(state.RegisterFile[0x12].value & 15, 0);
  EXPECT_EQ(state.RegisterFile[0x10].value & 15, 5);
  EXPECT_EQ(panel->instrbrkpnl->Caption(), "I");
  EXPECT_EQ(beeps, 3);
  EXPECT_EQ(panel->wheelpnl->Caption(), "STOP");
  EXPECT_EQ(panel->wheelpnl->ForeColor(), 0);
  EXPECT_EQ(state.RunActive, 0);
  EXPECT_EQ(state.SimulatorBusy, 0);
  EXPECT_EQ(SelectedRow(), kDone + 1);
  EXPECT_TRUE(panel->playimg->isEnabled());
  EXPECT_EQ(panel->Pc1Text->text(), "008");
}

TEST_F(PanelRunTest, StopEndsARunThatCannotBeClosedMeanwhile) {
  Key(Qt::Key_R, Qt::AltModifier);
  bool panelClosed = true, hostClosed = true, frameClosed = true;
  platform::RunPump::SetScriptAtRound(300, [&] {
    panelClosed = state.Forms.Unload("IceView");
    Key(Qt::Key_P);  // RunActive is 0 from here, the run not yet ended
    frameClosed = state.MainForm()->CloseFrame();
    hostClosed = state.Forms.Unload("Display");
    panelClosed = panelClosed || state.Forms.Unload("IceView");
  });
  beeps = 0;
  Key(Qt::Key_F5);
  platform::RunPump::SetScript({});
  EXPECT_FALSE(panelClosed || frameClosed || hostClosed);
  EXPECT_NE(Pc(), kDone);  // stopped inside the loop
  EXPECT_GT(state.RegisterFile[0x11].value & 15, 0);
  EXPECT_EQ(panel->instrbrkpnl->Caption(), "");
  EXPECT_EQ(beeps, 3);
  EXPECT_EQ(state.RunActive, 0);

  // Stop with nothing running does nothing at all.
  const int32_t pc = Pc();
  Key(Qt::Key_P, Qt::ShiftModifier);
  EXPECT_EQ(Pc(), pc);
  // After the run the panel closes, and the module with it.
  EXPECT_TRUE(state.Forms.Unload("IceView"));
}

TEST_F(PanelRunTest, AnimateStepsUntilStopped) {
  Key(Qt::Key_R, Qt::AltModifier);
  Key(Qt::Key_F6);
  EXPECT_TRUE(panel->timAnimate->Enabled());
  EXPECT_EQ(panel->timAnimate->Interval(), 600);
  EXPECT_EQ(Pc(), 1);
  EXPECT_TRUE(panel->stopimg->isEnabled());
  Key(Qt::Key_F6);  // already animating: nothing more
  EXPECT_EQ(Pc(), 1);
  panel->timAnimate->Tick();
  EXPECT_EQ(Pc(), 2);
  EXPECT_EQ(SelectedRow(), 3);
  // Reset while a command runs is ignored, the timer untouched.
  state.RunActive = 1;
  Key(Qt::Key_Home, Qt::AltModifier);
  EXPECT_EQ(Pc(), 2);
  EXPECT_TRUE(panel->timAnimate->Enabled());
  state.RunActive = 0;
  // Stop ends the animation with one more step.
  Key(Qt::Key_Pause);
  EXPECT_FALSE(panel->timAnimate->Enabled());
  EXPECT_EQ(Pc(), 3);
  EXPECT_FALSE(panel->stopimg->isEnabled());
  // Reset in state 1 only stops the timer and disables the button.
  Key(Qt::Key_F6);
  state.TargetState = 1;
  Key(Qt::Key_R, Qt::AltModifier);
  EXPECT_FALSE(panel->timAnimate->Enabled());
  EXPECT_FALSE(panel->resetimg->isEnabled());
  EXPECT_EQ(Pc(), 4);
  state.TargetState = 32;
}

TEST(RunCommands, AMissingInterfaceModuleIsReportedAndDoesNotBlockTheNextCommand) {
  testsupport::TempDir empty;
  MonitorState state;
  state.ProgramPath = empty.path();
  state.TargetState = 32;
  std::vector<std::string> boxes;
  platform::SetMessageBoxHook([&](const std::string& text, const std::string&, unsigned) {
    boxes.push_back(text);
    return 1;
  });
  for (int attempt = 0; attempt < 2; ++attempt) platform::GuardedCall([&] { StepCommand(state); });
  platform::SetMessageBoxHook({});
  EXPECT_EQ(boxes, std::vector<std::string>(2, "Monitor ERROR 53 0"));
  EXPECT_EQ(state.SimulatorBusy, 0);
  EXPECT_EQ(state.RunActive, 0);
}

// The windows and views as a user meets them with fresh settings: every
// window opens maximized and restores to a usable size; reopened in the
// normal state, the panel has the periphery window beside it; tiled, steps
// never scroll a grid sideways and a refresh leaves the RAM view where the
// user put it; a right click on Step steps.
TEST_F(PanelRunTest, WindowsAndViewsStayWhereTheUserPutThem) {
  state.MainForm()->resize(1200, 900);
  QCoreApplication::processEvents();
  for (const char* name : {"IceView", "Watchwin", "RAMWin"}) {
    platform::Form* form = state.Forms.Get(name);
    ASSERT_EQ(form->WindowState(), 2) << name;
    form->SetWindowState(0);
    const QWidget* window = form->Outer();
    const QSize least = window->minimumSizeHint().expandedTo({240, 160});
    EXPECT_EQ(window->size().expandedTo(least), window->size()) << name;
  }
  ASSERT_TRUE(state.Forms.Unload("IceView"));
  panel = Virtual("QV4128");
  ASSERT_NE(panel, nullptr);
  ASSERT_EQ(panel->WindowState(), 0);
  const QWidget* host = Host()->Outer();
  EXPECT_FALSE(host->geometry().intersects(panel->Outer()->geometry()));
  EXPECT_TRUE(host->parentWidget()->rect().contains(host->geometry()));

  static const std::vector<uint16_t> program = paneltest::Assemble(kCountingFixture);
  LoadProgram(program);
  state.MainForm()->Arrange(platform::MdiFrame::kTileHorizontal);
  QCoreApplication::processEvents();
  platform::GridControl* grids[] = {panel->grdProgram,
                                    state.Forms.Get("RAMWin")->findChild<platform::GridControl*>()};
  grids[1]->SetTopRow(0x11);
  Key(Qt::Key_R, Qt::AltModifier);
  for (int step = 0; step < 3; ++step) Key(Qt::Key_F8);
  QTest::mouseClick(panel->stepimg, Qt::RightButton);
  EXPECT_EQ(Pc(), 4);
  EXPECT_EQ(grids[1]->TopRow(), 0x11);
  for (platform::GridControl* grid : grids) {
    EXPECT_EQ(grid->horizontalScrollBar()->value(), 0) << grid->objectName().toStdString();
    EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0) << grid->objectName().toStdString();
  }
}

}  // namespace
