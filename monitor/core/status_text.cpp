#include "core/status_text.h"

#include <algorithm>

namespace monitor {

void StatusText::Attach(platform::Panel3D* textpnl, platform::Panel3D* floodpnl) {
  textpnl_ = textpnl;
  floodpnl_ = floodpnl;
}

void StatusText::ShowReady() {
  top_ = 1;
  ignored_ = 0;
  stack_[1] = "Ready";
  ShowStatusText();
}

void StatusText::PushStatusText(const QString& text) {
  if (top_ >= kDepth) {
    ++ignored_;
    return;
  }
  stack_[++top_] = text;
  ShowStatusText();
}

void StatusText::PopStatusText() {
  if (ignored_ > 0) {
    --ignored_;
    return;
  }
  if (top_ < 2) return;
  --top_;
  ShowStatusText();
}

void StatusText::ShowStatusText() {
  if (textpnl_ && top_ >= 1) textpnl_->SetCaption(stack_[top_]);
}

void StatusText::InitProgress(int16_t first, int16_t last) {
  SetFlood(1, 0);
  first_ = first;
  last_ = last;
  threshold_ = 0;
  const int range = last_ - first_;
  if (range > 100) {
    mode_ = 2;
    step_ = range / 100 + 1;
  } else {
    mode_ = 1;
    step_ = range > 0 ? 100 / range : 0;  // a negative range gives no step
  }
}

void StatusText::ShowProgress(int16_t value) {
  if (value >= last_) {
    ResetProgress();
    return;
  }
  if (value < threshold_) return;
  if (mode_ == 2) {
    SetFlood(floodType_, floodPercent_ + 1);
    threshold_ = value + step_;
  } else {
    threshold_ = value + 1;
    SetFlood(floodType_, floodPercent_ + step_);
  }
}

void StatusText::ResetProgress() {
  SetFlood(0, 0);
}

void StatusText::SetFlood(int type, int percent) {
  percent = std::clamp(percent, 0, 100);
  if (type == floodType_ && percent == floodPercent_) return;
  floodType_ = type;
  floodPercent_ = percent;
  if (floodpnl_) {
    floodpnl_->SetFloodType(type);
    floodpnl_->SetFloodPercent(percent);
  }
}

}  // namespace monitor
