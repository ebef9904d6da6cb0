// The panel's displays, the clearing of the target state and the program
// grid's operations, on the real panel.
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include "core/code_grid.h"
#include "core/vicectrl.h"
#include "core/view.h"
#include "core/view_clearing.h"
#include "emulator/emulator_session.h"
#include "panel_fixture.h"
#include "platform/controls.h"
#include "platform/grid_control.h"
#include "platform/twips.h"

namespace {

using namespace monitor;

std::string Selection(const platform::GridControl& grid) {
  return std::to_string(grid.SelStartRow()) + "," + std::to_string(grid.SelStartCol()) + "-" +
         std::to_string(grid.SelEndRow()) + "," + std::to_string(grid.SelEndCol());
}

class PanelViewTest : public paneltest::PanelTest {
 protected:
  void SetUp() override {
    StartMonitor();
    panel = Virtual("QV4128");
    ASSERT_NE(panel, nullptr);
  }
  QString Shown(platform::ImageButton* image) const {
    return (image->isEnabled() ? "on:" : "off:") + image->pictureName();
  }
  // The five register boxes' texts, and "-" for a disabled one.
  QString Boxes() const {
    QStringList texts;
    for (QLineEdit* box :
         {panel->AccText, panel->IndexText, panel->Pc1Text, panel->Pc2Text, panel->Pc3text}) {
      texts << (box->isEnabled() ? box->text() : "-" + box->text());
    }
    return texts.join(' ');
  }
  IceView* panel = nullptr;
};

TEST_F(PanelViewTest, RegistersFollowTheTargetStateAndKeepTheirWidths) {
  auto& word = state.CpuState.word;
  word[k42::kAcc] = 0x1C;  // one digit: "C"
  word[k42::kIndex] = 5;
  word[k42::kPcStack] = 5;
  word[k42::kPcStack + 2] = 0x1ABC;
  word[k42::kStackLevel] = 2;
  word[k42::kCarry] = 1;
  RefreshRegisters(state);
  EXPECT_EQ(Boxes(), "C 05 005 000 ABC");
  EXPECT_TRUE(panel->Pc3Option->isChecked());
  EXPECT_EQ(TextForeColor(*panel->Pc3text), 255);
  EXPECT_EQ(TextForeColor(*panel->Pc1Text), 0);
  EXPECT_EQ(platform::ButtonValue(*panel->CarryCheck), 1);

  // Not stopped: disabled, the values of the last halt kept.
  state.TargetState = 1;
  word[k42::kAcc] = 3;
  word[k42::kCarry] = 0;
  RefreshRegisters(state);
  EXPECT_EQ(Boxes(), "-C -05 -005 -000 -ABC");
  EXPECT_FALSE(panel->Pc2Option->isEnabled());
  EXPECT_EQ(platform::ButtonValue(*panel->CarryCheck), 1);

  // A level outside 0..2 selects nothing new.
  state.TargetState = 32;
  word[k42::kStackLevel] = 7;
  RefreshRegisters(state);
  EXPECT_TRUE(panel->Pc3Option->isChecked());
}

TEST_F(PanelViewTest, IndicatorsDuringARunAndThePortRule) {
  state.RunActive = 1;
  RefreshIndicators(state);
  EXPECT_EQ(Shown(panel->playimg) + Shown(panel->stepimg) + Shown(panel->animimg) +
                Shown(panel->resetimg) + Shown(panel->stopimg),
            "off:playdispicoff:stepdispicoff:animdispicoff:backdispicon:stopuppic");
  EXPECT_EQ(panel->wheelpnl->Caption(), "RUN");
  state.RunActive = 0;
  state.CpuState.word[k42::kProgBreakEnable] = 1;
  state.CpuState.word[k42::kIceIntToggle] = 1;
  RefreshIndicators(state);
  EXPECT_EQ(Shown(panel->playimg), "on:playuppic");
  EXPECT_EQ(Shown(panel->stopimg), "off:stopdispic");
  EXPECT_EQ(panel->wheelpnl->Caption(), "STOP");
  EXPECT_EQ(Shown(panel->brkimg) + Shown(panel->datimg) + Shown(panel->Intimg),
            "on:brkuppicon:ndatuppicon:nintuppic");

  // Ports: word 13 with command bit 128, word 14 with 256.
  state.CpuState.word[k42::kIceIntMux] = 1;
  state.CommandBitValue[7] = 1;
  const struct {
    int16_t target;
    const char *mux, *pin, *mux2, *pin2;
  } rows[] = {
      {2, "on:onuppic", "on:pintdispic", "on:offuppic", "off:ptv1dispic"},
      {4, "off:ondispic", "on:pintdispic", "off:offdispic", "off:ptv1dispic"},
      {32, "off:offdispic", "off:pintdispic", "off:offdispic", "off:ptv1dispic"},
  };
  for (const auto& row : rows) {
    state.TargetState = row.target;
    ShowPort1(state);
    ShowPort2(state);
    EXPECT_EQ(Shown(panel->intmuximg) + " " + Shown(panel->pintimg) + " " +
                  Shown(panel->tv1muximg) + " " + Shown(panel->ptv1img),
              QString("%1 %2 %3 %4").arg(row.mux, row.pin, row.mux2, row.pin2));
  }
  state.CommandBitValue[7] = 0;
  state.TargetState = 2;
  ShowPort1(state);
  EXPECT_EQ(Shown(panel->pintimg), "on:pintuppic");
}

TEST_F(PanelViewTest, TheSessionRedrawsThePanelOnReachingNotConnectedHaltedOrRunning) {
  // A redraw rewrites the accumulator box (live) or disables it.
  for (int16_t from = kEmulatorNotConnected; from <= kEmulatorSendingWordUnconnected; ++from) {
    for (int16_t event = 1; event <= 14; ++event) {
      state.TargetState = from;
      panel->AccText->setEnabled(true);
      panel->AccText->setText("untouched");
      NextEmulatorState(state, event);
      const int16_t now = state.TargetState;
      const bool redrawn = !panel->AccText->isEnabled() || panel->AccText->text() != "untouched";
      EXPECT_EQ(redrawn,
                now == kEmulatorNotConnected || now == kEmulatorHalted || now == kEmulatorRunning)
          << from << " event " << event;
    }
  }
  state.TargetState = kSimulator;
}

TEST_F(PanelViewTest, ClearingTheStateAndTheStopCauses) {
  auto& word = state.CpuState.word;
  for (int w = 0; w < k42::kCpuWords; ++w) word[w] = 3;
  state.CommandBitValue.fill(1);
  ClearCpuState(state);
  EXPECT_EQ(word[k42::kHalted], 0);
  EXPECT_EQ(word[k42::kTraceEnable], 3);  // the enables stay
  ShowRunIndicators(state);
  EXPECT_EQ(panel->instrbrkpnl->Caption(), "I");
  state.TargetState = 1;
  ShowRunIndicators(state);
  EXPECT_EQ(panel->instrbrkpnl->Caption(), "");  // only while stopped

  state.TargetState = 32;
  state.CpuStateDirty = 0;
  panel->AccText->setText("X");
  ClearPanelState(state);
  ClearCommandBits(state);
  for (int w = 0; w < k42::kCpuWords; ++w) {
    if (w == k42::kTraceActive) {
      EXPECT_EQ(word[w], -1);
    } else if (w == k42::kTraceLast) {
      EXPECT_EQ(word[w], 3);
    } else {
      EXPECT_EQ(word[w], 0) << w;
    }
  }
  EXPECT_EQ(state.CommandBitValue, decltype(state.CommandBitValue){});
  EXPECT_EQ(state.CpuStateDirty, -1);
  EXPECT_EQ(panel->AccText->text(), "0");  // redrawn
  EXPECT_EQ(panel->databrkpnl->Caption(), "");
}

TEST_F(PanelViewTest, WatchAndRamColumnsOnlyWhileTheirWindowsAreOpen) {
  // The panel opened both windows; closed, they take no refresh.
  state.Forms.Unload("Watchwin");
  state.Forms.Unload("RAMWin");
  state.RegisterFile[3].value = 0x2A;
  state.RegisterFile[127].value = 7;
  RefreshWatchWindow(state);  // nothing open: nothing happens
  RefreshRamWindow(state);
  state.PanelLoaded = 0;
  state.CpuState.word[k42::kAcc] = 9;
  RefreshPanel(state);
  EXPECT_NE(panel->AccText->text(), "9");
  state.PanelLoaded = -1;

  // A stand-in watch window: rows for cells 3, 127, an index past the file
  // (80 = 128) and a text that is no number, then the empty entry row.
  platform::GridControl* grid = &paneltest::LoadWatchStandIn(
      state, {{"", "3", "", "", "", "", "", ""},
              {"", "7F", "", "", "", "", "", ""},
              {"", "80", "", "", "", "", "", ""},
              {"", "zz", "", "", "", "", "", ""}});
  state.Watch.rows.back().address = "3";
  grid->SetRow(4);
  RefreshWatchWindow(state);
  EXPECT_EQ(grid->Row(), 1);
  EXPECT_EQ(grid->TextMatrix(1, 2), "000A");
  EXPECT_EQ(grid->TextMatrix(2, 2), "0007");
  EXPECT_EQ(grid->TextMatrix(3, 2), "");
  EXPECT_EQ(grid->TextMatrix(4, 2), "");
  EXPECT_EQ(grid->TextMatrix(5, 2), "");  // the entry row
  state.Forms.Unload("Watchwin");
}

TEST_F(PanelViewTest, ShowAndFindCodeRows) {
  platform::GridControl& grid = *panel->grdProgram;
  grid.SetRows(201);
  for (int row = 1; row < 200; ++row) {
    grid.SetTextMatrix(row, kAddrColumn, QString::asprintf("%04X", row + 0x100));
  }
  grid.setFixedHeight(platform::TwipsToPixels(grid.RowHeight(1) * 112 / 100 * 10) + 1);
  const int visible =
      platform::PixelsToTwips(grid.height()) / static_cast<int>(grid.RowHeight(1) * 1.12);
  ASSERT_GE(visible, 5);

  grid.SetRow(7);
  grid.SetCol(1);
  EXPECT_EQ(FindCodeRow(grid, 0x1A3), 0xA3);
  EXPECT_EQ(FindCodeRow(grid, 0x101A3), 0xA3);  // low 16 bits
  EXPECT_EQ(FindCodeRow(state, 0x999), -1);
  EXPECT_EQ(std::pair(grid.Row(), grid.Col()), std::pair(7, 1));

  ShowCodeRow(grid, 50, 1);  // below the view: five rows of context
  EXPECT_EQ(grid.TopRow(), 45);
  EXPECT_EQ(Selection(grid), "50,0-50,8");
  ShowCodeRow(grid, 51, 1);  // inside the view: no scroll
  EXPECT_EQ(grid.TopRow(), 45);
  ShowCodeRow(grid, 198, 1);  // near the end: the last page
  EXPECT_EQ(grid.SelStartRow(), 198);
  EXPECT_LE(grid.TopRow(), 198);
  EXPECT_GE(grid.TopRow() + visible, 199);
  const int before = beeps;
  ShowCodeRow(grid, 0, 1);
  ShowCodeRow(grid, 201, 1);
  state.CpuState.word[k42::kStackLevel] = 3;  // no stack word: the row is not looked for
  ShowProgramCounter(state);
  EXPECT_EQ(beeps, before + 2);
  EXPECT_EQ(grid.SelStartRow(), 198);
  SetGridSelection(grid);
  EXPECT_EQ(Selection(grid), "1,0-1,0");
}

}  // namespace
