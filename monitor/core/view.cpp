// The panel's displays.
#include "core/view.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <cstdio>

#include "core/monitor_state.h"
#include "core/panel_controls.h"
#include "core/settings/global_numbers.h"
#include "core/target_looks.h"
#include "platform/controls.h"
#include "platform/forms.h"

namespace monitor {
namespace {

using k42::CpuWord;

int32_t Word(const MonitorState& state, int word) {
  return state.CpuState.word[word];
}

// The register rule: live, enable and write; otherwise disable and keep.
void ShowText(MonitorState& state, QLineEdit* PanelControls::*box, int word, int width) {
  PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  QLineEdit* edit = panel->*box;
  const bool live = RegistersLive(state);
  edit->setEnabled(live);
  if (live) edit->setText(QString::fromStdString(HexText(Word(state, word), width)));
}

void ShowCheck(MonitorState& state, QCheckBox* PanelControls::*box, int word) {
  PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  QCheckBox* check = panel->*box;
  const bool live = RegistersLive(state);
  check->setEnabled(live);
  if (live) platform::SetButtonValue(*check, Word(state, word));
}

void SetImage(PanelControls& panel, platform::ImageButton* image, bool enabled,
              const std::string& picture) {
  image->setEnabled(enabled);
  image->SetPicture(panel.Picture(picture));
}

// The button rule; `stem` names the holders "<stem>uppic" and "<stem>dispic".
void ShowButton(MonitorState& state, platform::ImageButton* PanelControls::*image,
                const std::string& stem) {
  PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  const bool enabled = ReadyForCommand(state);
  SetImage(*panel, panel->*image, enabled, stem + (enabled ? "uppic" : "dispic"));
}

// The switch rule; `setStem` and `clearStem` name the holders of the two
// positions.
void ShowSwitch(MonitorState& state, platform::ImageButton* PanelControls::*image, int word,
                const std::string& setStem, const std::string& clearStem) {
  PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  const bool live = RegistersLive(state);
  const std::string& stem = Word(state, word) != 0 ? setStem : clearStem;
  SetImage(*panel, panel->*image, live, stem + (live ? "uppic" : "dispic"));
}

int16_t CommandBit(const MonitorState& state, int bit) {
  int index = 0;
  while ((1 << index) != bit) ++index;
  return state.CommandBitValue[static_cast<size_t>(index)];
}

// The port rule for a multiplexer image and a pin image.
void ShowPort(MonitorState& state, platform::ImageButton* PanelControls::*mux,
              platform::ImageButton* PanelControls::*pin, int word, int bit,
              const std::string& pinStem) {
  PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  const bool on = Word(state, word) != 0;
  const bool pinLive = PortsShown(state) && on;
  if (PortsLive(state)) {
    SetImage(*panel, panel->*mux, true, on ? "onuppic" : "offuppic");
  } else if (PortsShown(state)) {
    SetImage(*panel, panel->*mux, false, on ? "ondispic" : "offdispic");
  } else {
    SetImage(*panel, panel->*mux, false, "offdispic");
  }
  if (pinLive) {
    SetImage(*panel, panel->*pin, true,
             pinStem + (CommandBit(state, bit) != 0 ? "dispic" : "uppic"));
  } else {
    SetImage(*panel, panel->*pin, false, pinStem + "dispic");
  }
}

void ShowPc(MonitorState& state, QLineEdit* PanelControls::*box, int word) {
  ShowText(state, box, word, 3);
}

// Hex digits only, at least one.
bool IsHexText(const std::string& text) {
  return !text.empty() && text.find_first_not_of("0123456789ABCDEFabcdef") == std::string::npos;
}

}  // namespace

std::string HexText(int32_t value, int width) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%0*X", width, static_cast<unsigned>(value));
  const std::string text = digits;
  return text.substr(text.size() - static_cast<size_t>(width));
}

void RefreshPanel(MonitorState& state) {
  if (state.PanelLoaded == 0) return;
  RefreshRegisters(state);
  RefreshIndicators(state);
}

void RefreshRegisters(MonitorState& state) {
  ShowAccumulator(state);
  ShowCarry(state);
  ShowCarryInt(state);
  ShowHalt(state);
  ShowZero(state);
  ShowIndexRegister(state);
  ShowInterruptFlag(state);
  ShowPc1(state);
  ShowPc2(state);
  ShowPc3(state);
  ShowStackLevel(state);
}

void ShowAccumulator(MonitorState& state) {
  ShowText(state, &PanelControls::AccText, k42::kAcc, 1);
}
void ShowCarry(MonitorState& state) {
  ShowCheck(state, &PanelControls::CarryCheck, k42::kCarry);
}
void ShowCarryInt(MonitorState& state) {
  ShowCheck(state, &PanelControls::CarryIntCheck, k42::kCarryInt);
}
void ShowHalt(MonitorState& state) {
  ShowCheck(state, &PanelControls::HaltCheck, k42::kHalted);
}
void ShowZero(MonitorState& state) {
  ShowCheck(state, &PanelControls::ZeroCheck, k42::kZero);
}
void ShowIndexRegister(MonitorState& state) {
  ShowText(state, &PanelControls::IndexText, k42::kIndex, 2);
}
void ShowInterruptFlag(MonitorState& state) {
  ShowCheck(state, &PanelControls::InterruptCheck, k42::kInInterrupt);
}
void ShowPc1(MonitorState& state) {
  ShowPc(state, &PanelControls::Pc1Text, k42::kPcStack);
}
void ShowPc2(MonitorState& state) {
  ShowPc(state, &PanelControls::Pc2Text, k42::kPcStack + 1);
}
void ShowPc3(MonitorState& state) {
  ShowPc(state, &PanelControls::Pc3text, k42::kPcStack + 2);
}

void ShowStackLevel(MonitorState& state) {
  PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  QRadioButton* options[] = {panel->Pc1option, panel->Pc2Option, panel->Pc3Option};
  QLineEdit* boxes[] = {panel->Pc1Text, panel->Pc2Text, panel->Pc3text};
  const bool live = RegistersLive(state);
  for (QRadioButton* option : options) option->setEnabled(live);
  const int32_t level = Word(state, k42::kStackLevel);
  if (!live || level < 0 || level > k42::kMaxStackLevel) return;
  options[level]->setChecked(true);
  for (int i = 0; i < 3; ++i) SetTextForeColor(*boxes[i], i == level ? 255 : 0);
}

void RefreshIndicators(MonitorState& state) {
  ShowConnectButton(state);
  ShowResetButton(state);
  ShowRunButton(state);
  ShowStopButton(state);
  ShowStepButton(state);
  ShowAnimateButton(state);
  ShowProgramBreakEnable(state);
  ShowDataBreakEnable(state);
  ShowInterruptRequest(state);
  ShowTraceEnable(state);
  ShowPort1(state);
  ShowPort2(state);
  ShowPort3(state);
  ShowPort4(state);
  ShowRunIndicators(state);
}

void ShowConnectButton(MonitorState& state) {
  PanelControls* panel = Panel(state);
  if (panel == nullptr || !HasSession(state)) return;
  panel->connectimg->SetPicture(panel->Picture(SessionOpen(state) ? "cntuppic" : "dcntuppic"));
}

void ShowResetButton(MonitorState& state) {
  ShowButton(state, &PanelControls::resetimg, "back");
}
void ShowStepButton(MonitorState& state) {
  ShowButton(state, &PanelControls::stepimg, "step");
}
void ShowAnimateButton(MonitorState& state) {
  ShowButton(state, &PanelControls::animimg, "anim");
}

void ShowRunButton(MonitorState& state) {
  PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  const bool live = ReadyForCommand(state);
  if (live) {
    SetImage(*panel, panel->playimg, true, "playuppic");
    panel->wheelpnl->SetCaption("STOP");
  } else {
    SetImage(*panel, panel->playimg, false, "playdispic");
    panel->wheelpnl->SetCaption("RUN");
    panel->wheelpnl->SetForeColor(0);
  }
}

void ShowStopButton(MonitorState& state) {
  PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  const bool animating = panel->timAnimate->Enabled();
  const bool live = animating || TargetRunning(state);
  SetImage(*panel, panel->stopimg, live, live ? "stopuppic" : "stopdispic");
}

void ShowProgramBreakEnable(MonitorState& state) {
  ShowSwitch(state, &PanelControls::brkimg, k42::kProgBreakEnable, "brk", "nbrk");
}
void ShowDataBreakEnable(MonitorState& state) {
  ShowSwitch(state, &PanelControls::datimg, k42::kDataBreakEnable, "dat", "ndat");
}
void ShowInterruptRequest(MonitorState& state) {
  ShowSwitch(state, &PanelControls::Intimg, k42::kIceIntToggle, "nint", "int");
}
void ShowTraceEnable(MonitorState& state) {
  ShowSwitch(state, &PanelControls::trcimg, k42::kTraceEnable, "trc", "ntrc");
}

void ShowPort1(MonitorState& state) {
  ShowPort(state, &PanelControls::intmuximg, &PanelControls::pintimg, k42::kIceIntMux, 128, "pint");
}
void ShowPort2(MonitorState& state) {
  ShowPort(state, &PanelControls::tv1muximg, &PanelControls::ptv1img, k42::kCond1, 256, "ptv1");
}
void ShowPort3(MonitorState& state) {
  ShowPort(state, &PanelControls::tv2muximg, &PanelControls::ptv2img, k42::kCond2, 512, "ptv2");
}
void ShowPort4(MonitorState& state) {
  ShowPort(state, &PanelControls::tv3muximg, &PanelControls::ptv3img, k42::kCond3, 1024, "ptv3");
}

void ShowRunIndicators(MonitorState& state) {
  PanelControls* panel = Panel(state);
  if (panel == nullptr) return;
  const bool live = RegistersLive(state);
  const auto show = [&](platform::Panel3D* indicator, int word, const char* letter) {
    indicator->SetCaption(live && Word(state, word) != 0 ? letter : "");
  };
  show(panel->instrbrkpnl, k42::kProgBreakHit, "I");
  show(panel->databrkpnl, k42::kDataBreakHit, "D");
  show(panel->trcbrkpnl, k42::kTraceFull, "T");
}

void RefreshWatchWindow(MonitorState& state) {
  WatchList& watch = state.Watch;
  if (!watch.Open()) return;
  watch.current = 1;
  // Every row but the entry row that names a cell shows the cell's value.
  for (int row = 1; row <= watch.Count() - 1; ++row) {
    WatchRow& shown = watch.rows[static_cast<size_t>(row - 1)];
    const std::string address = shown.address.toStdString();
    const int32_t cell = HexToNumber(address, 0);
    if (!IsHexText(address) || cell < 0 || cell >= MonitorState::kRegisterCells) continue;
    const int32_t value = state.RegisterFile[static_cast<size_t>(cell)].value & 15;
    shown.data = QString::fromStdString(NumberToHex(static_cast<int16_t>(value)));
  }
  watch.DrawWatch();
}

void RefreshRamWindow(MonitorState& state) {
  if (state.Watch.DrawRam) state.Watch.DrawRam();
}

}  // namespace monitor
