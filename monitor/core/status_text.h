#pragma once
// The main window's status text and progress panels.
//
// The text panel shows the top of a stack of at most 10 texts; long
// operations push a text and pop it when done, so nested operations restore
// the outer text. A push on a full stack is not shown, and it is counted: the
// pop that pairs with it consumes that count instead of removing the outer
// operation's text.
//
// The progress panel fills from the left over a range: InitProgress(first,
// last), ShowProgress(value) for each value, the last value (or
// ResetProgress) empties it. Up to 100 values the bar grows by 100 \ range
// percent per value; over 100 by 1 percent every range \ 100 + 1 values. The
// widget is touched only when the percentage changes.
#include <QPointer>
#include <QString>
#include <array>
#include <cstdint>

#include "platform/controls.h"

namespace monitor {

class StatusText {
 public:
  static constexpr int kDepth = 10;

  void Attach(platform::Panel3D* textpnl, platform::Panel3D* floodpnl);

  void ShowReady();
  void PushStatusText(const QString& text);
  void PopStatusText();
  void ShowStatusText();
  void RefreshStatusText() { ShowStatusText(); }
  QString Shown() const { return top_ >= 1 ? stack_[top_] : QString(); }
  int Depth() const { return top_; }

  void InitProgress(int16_t first, int16_t last);
  void ShowProgress(int16_t value);
  void ResetProgress();
  int FloodType() const { return floodType_; }
  int FloodPercent() const { return floodPercent_; }

 private:
  void SetFlood(int type, int percent);

  QPointer<platform::Panel3D> textpnl_, floodpnl_;
  std::array<QString, kDepth + 1> stack_;  // entries 1..10
  int top_ = 0;
  int ignored_ = 0;  // pushes not taken on a full stack
  int first_ = 0, last_ = 0, threshold_ = 0, step_ = 0, mode_ = 1;
  int floodType_ = 0, floodPercent_ = 0;
};

}  // namespace monitor
