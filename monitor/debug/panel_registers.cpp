// The panel's register editing: the accumulator, index and program-counter
// boxes, the stack-level options, the five flags, the breakpoint, data
// breakpoint, interrupt and port switches, and the emulator's four port
// option switches. Every change goes into CpuState at once and (the program
// breakpoint switch excepted) marks it dirty, so the emulator's next command
// carries it and the chip module reads it at its next call.
//
// Only the user's edits reach these handlers (textEdited, returnPressed,
// clicked): a display refresh sets the same controls silently.
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include "core/data_cells.h"
#include "core/monitor_state.h"
#include "core/settings/global_numbers.h"
#include "core/view.h"
#include "debug/iceview.h"
#include "platform/controls.h"
#include "platform/hooks.h"

namespace monitor {
namespace {

constexpr int kEnter = platform::vbKeyReturn;
constexpr int32_t kIndexLow = 0x6E, kIndexHigh = 0x6F;
constexpr int32_t kLargestIndex = 127;

// The CommandBitValue slot of a command bit (1 << slot).
size_t BitSlot(int bit) {
  size_t slot = 0;
  while ((1 << slot) != bit) ++slot;
  return slot;
}

int16_t Toggled(int32_t value) {
  return value == 0 ? int16_t{-1} : int16_t{0};
}

}  // namespace

void IceView::BindRegisterEditing() {
  const auto guarded = [](auto handler) { return [handler] { platform::GuardedCall(handler); }; };
  connect(AccText, &QLineEdit::textEdited, this, guarded([this] { AccText_Change(); }));
  connect(IndexText, &QLineEdit::returnPressed, this,
          guarded([this] { IndexText_KeyDown(kEnter); }));
  connect(Pc1Text, &QLineEdit::returnPressed, this, guarded([this] { Pc1Text_KeyDown(kEnter); }));
  connect(Pc2Text, &QLineEdit::returnPressed, this, guarded([this] { Pc2Text_KeyDown(kEnter); }));
  connect(Pc3text, &QLineEdit::returnPressed, this, guarded([this] { Pc3text_KeyDown(kEnter); }));
  connect(Pc1option, &QRadioButton::clicked, this, guarded([this] { Pc1option_Click(); }));
  connect(Pc2Option, &QRadioButton::clicked, this, guarded([this] { Pc2Option_Click(); }));
  connect(Pc3Option, &QRadioButton::clicked, this, guarded([this] { Pc3Option_Click(); }));
  connect(CarryCheck, &QCheckBox::clicked, this, guarded([this] { CarryCheck_Click(); }));
  connect(CarryIntCheck, &QCheckBox::clicked, this, guarded([this] { CarryIntCheck_Click(); }));
  connect(ZeroCheck, &QCheckBox::clicked, this, guarded([this] { ZeroCheck_Click(); }));
  connect(InterruptCheck, &QCheckBox::clicked, this, guarded([this] { InterruptCheck_Click(); }));
  connect(HaltCheck, &QCheckBox::clicked, this, guarded([this] { HaltCheck_Click(); }));

  using Handler = void (IceView::*)(int, int);
  const auto image = [this](platform::ImageButton* button, Handler down, Handler up) {
    button->onMouseDown = [this, down](int b, int s, int, int) {
      platform::GuardedCall([&] { (this->*down)(b, s); });
    };
    button->onMouseUp = [this, up](int b, int s, int, int) {
      platform::GuardedCall([&] { (this->*up)(b, s); });
    };
  };
  image(brkimg, &IceView::brkimg_MouseDown, &IceView::brkimg_MouseUp);
  image(datimg, &IceView::datimg_MouseDown, &IceView::datimg_MouseUp);
  image(Intimg, &IceView::Intimg_MouseDown, &IceView::Intimg_MouseUp);
  image(intmuximg, &IceView::intmuximg_MouseDown, &IceView::intmuximg_MouseUp);
  image(tv1muximg, &IceView::tv1muximg_MouseDown, &IceView::tv1muximg_MouseUp);
  image(tv2muximg, &IceView::tv2muximg_MouseDown, &IceView::tv2muximg_MouseUp);
  image(tv3muximg, &IceView::tv3muximg_MouseDown, &IceView::tv3muximg_MouseUp);
  pintimg->onClick = guarded([this] { pintimg_Click(); });
  ptv1img->onClick = guarded([this] { ptv1img_Click(); });
  ptv2img->onClick = guarded([this] { ptv2img_Click(); });
  ptv3img->onClick = guarded([this] { ptv3img_Click(); });
}

void IceView::AccText_Change() {
  // A text too long for a number leaves the accumulator as it is.
  const std::optional<int32_t> value = LeadingHexValue(AccText->text().toStdString(), true);
  if (!value) return;
  int32_t* words = state_.CpuState.word;
  words[k42::kAcc] = *value;
  state_.CpuStateDirty = -1;
  const bool zero = words[k42::kAcc] == 0;
  platform::SetButtonValue(*ZeroCheck, zero ? 1 : 0);
  words[k42::kZero] = zero ? -1 : 0;
}

void IceView::IndexText_KeyDown(int keyCode) {
  if (keyCode != kEnter) return;
  const std::optional<int32_t> value = LeadingHexValue(IndexText->text().toStdString(), false);
  int32_t* words = state_.CpuState.word;
  if (value && *value != words[k42::kIndex] && *value >= 0 && *value <= kLargestIndex) {
    state_.CpuStateDirty = -1;
    const auto low = static_cast<int16_t>(*value & 15);
    const auto high = static_cast<int16_t>((*value & 0xF0) / 16);
    // The index word follows its two register cells on either target.
    RunTarget& target = state_.ActiveTarget();
    for (const auto& [cell, nibble] : {std::pair{kIndexLow, low}, std::pair{kIndexHigh, high}}) {
      target.WriteDataCell(cell, nibble,
                           FindWatchRow(state_, QString::asprintf("%04X", cell), kWatchAddr));
    }
    target.AfterCellWrite(kIndexHigh);
    RefreshWatchWindow(state_);
    RefreshRamWindow(state_);
  }
  // A refused entry is replaced by the current value.
  ShowIndexRegister(state_);
}

void IceView::PcText_KeyDown(QLineEdit* box, int word, void (*display)(MonitorState&),
                             int keyCode) {
  if (keyCode != kEnter) return;
  const std::optional<int32_t> value = LeadingHexValue(box->text().toStdString(), false);
  int32_t& pc = state_.CpuState.word[word];
  if (!value || *value < 0 || *value > k42::kPcMask) {
    // Never a silently cut address: the box shows the current one again.
    display(state_);
    return;
  }
  if (*value == pc) return;
  pc = *value;
  state_.CpuStateDirty = -1;
  ShowProgramCounterRow();
}

void IceView::Pc1Text_KeyDown(int keyCode) {
  PcText_KeyDown(Pc1Text, k42::kPcStack, ShowPc1, keyCode);
}
void IceView::Pc2Text_KeyDown(int keyCode) {
  PcText_KeyDown(Pc2Text, k42::kPcStack + 1, ShowPc2, keyCode);
}
void IceView::Pc3text_KeyDown(int keyCode) {
  PcText_KeyDown(Pc3text, k42::kPcStack + 2, ShowPc3, keyCode);
}

void IceView::StackLevel_Click(int level) {
  int32_t& current = state_.CpuState.word[k42::kStackLevel];
  if (current == level) return;
  current = level;
  state_.CpuStateDirty = -1;
  ShowStackLevel(state_);
  ShowProgramCounterRow();
}

void IceView::Pc1option_Click() {
  StackLevel_Click(0);
}
void IceView::Pc2Option_Click() {
  StackLevel_Click(1);
}
void IceView::Pc3Option_Click() {
  StackLevel_Click(2);
}

void IceView::Flag_Click(QCheckBox* box, int word) {
  state_.CpuState.word[word] = platform::ButtonValue(*box);
  state_.CpuStateDirty = -1;
}

void IceView::CarryCheck_Click() {
  Flag_Click(CarryCheck, k42::kCarry);
}
void IceView::CarryIntCheck_Click() {
  Flag_Click(CarryIntCheck, k42::kCarryInt);
}
void IceView::ZeroCheck_Click() {
  Flag_Click(ZeroCheck, k42::kZero);
}
void IceView::InterruptCheck_Click() {
  Flag_Click(InterruptCheck, k42::kInInterrupt);
}
void IceView::HaltCheck_Click() {
  Flag_Click(HaltCheck, k42::kHalted);
}

void IceView::Switch_MouseDown(platform::ImageButton* image, int word, const char* setStem,
                               const char* clearStem) {
  const bool on = state_.CpuState.word[word] != 0;
  image->SetPicture(Picture(std::string(on ? clearStem : setStem) + "uppic"));
}

void IceView::Switch_MouseUp(int word, bool marksDirty, void (*display)(MonitorState&)) {
  int32_t& value = state_.CpuState.word[word];
  value = Toggled(value);
  if (marksDirty) state_.CpuStateDirty = -1;
  display(state_);
}

// Pictures by the displays' switch and port rules.
void IceView::brkimg_MouseDown(int, int) {
  Switch_MouseDown(brkimg, k42::kProgBreakEnable, "brk", "nbrk");
}
void IceView::brkimg_MouseUp(int, int) {
  // Every emulator run command marks the state dirty before it sends.
  Switch_MouseUp(k42::kProgBreakEnable, false, ShowProgramBreakEnable);
}
void IceView::datimg_MouseDown(int, int) {
  Switch_MouseDown(datimg, k42::kDataBreakEnable, "dat", "ndat");
}
void IceView::datimg_MouseUp(int, int) {
  Switch_MouseUp(k42::kDataBreakEnable, true, ShowDataBreakEnable);
}
void IceView::Intimg_MouseDown(int, int) {
  Switch_MouseDown(Intimg, k42::kIceIntToggle, "nint", "int");
}
void IceView::Intimg_MouseUp(int, int) {
  Switch_MouseUp(k42::kIceIntToggle, true, ShowInterruptRequest);
}
void IceView::intmuximg_MouseDown(int, int) {
  Switch_MouseDown(intmuximg, k42::kIceIntMux, "on", "off");
}
void IceView::intmuximg_MouseUp(int, int) {
  Switch_MouseUp(k42::kIceIntMux, true, ShowPort1);
}
void IceView::tv1muximg_MouseDown(int, int) {
  Switch_MouseDown(tv1muximg, k42::kCond1, "on", "off");
}
void IceView::tv1muximg_MouseUp(int, int) {
  Switch_MouseUp(k42::kCond1, true, ShowPort2);
}
void IceView::tv2muximg_MouseDown(int, int) {
  Switch_MouseDown(tv2muximg, k42::kCond2, "on", "off");
}
void IceView::tv2muximg_MouseUp(int, int) {
  Switch_MouseUp(k42::kCond2, true, ShowPort3);
}
void IceView::tv3muximg_MouseDown(int, int) {
  Switch_MouseDown(tv3muximg, k42::kCond3, "on", "off");
}
void IceView::tv3muximg_MouseUp(int, int) {
  Switch_MouseUp(k42::kCond3, true, ShowPort4);
}

void IceView::PortOption_Click(int bit, void (*display)(MonitorState&)) {
  int16_t& value = state_.CommandBitValue[BitSlot(bit)];
  value = Toggled(value);
  display(state_);
  state_.ActiveTarget().SendCommandBits();
}

void IceView::pintimg_Click() {
  PortOption_Click(128, ShowPort1);
}
void IceView::ptv1img_Click() {
  PortOption_Click(256, ShowPort2);
}
void IceView::ptv2img_Click() {
  PortOption_Click(512, ShowPort3);
}
void IceView::ptv3img_Click() {
  PortOption_Click(1024, ShowPort4);
}

}  // namespace monitor
