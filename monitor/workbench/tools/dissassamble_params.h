#pragma once
// The dialog "DISSASSEMBLE OPTIONS": a code image, five output files with a
// check box each, and the run through K42XXDIS. It is application-modal but
// shown without blocking: the rest of the monitor takes no input while it is
// open, and it stays open after a run.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <cstdint>

#include "platform/forms.h"

namespace monitor {

class MonitorState;

class Dissassamble_params : public platform::Form {
 public:
  explicit Dissassamble_params(MonitorState& state);

  QLineEdit *BINfile, *ASMfile, *PRTfile, *SYMfile, *STATfile, *XREFfile;
  QCheckBox *ASMCheck, *PRTCheck, *SYMCheck, *STATCheck, *XREFCheck;
  QPushButton *Command1, *Command2, *Command3;

  // The file box that had the focus last: 1 BINfile .. 6 XREFfile, 0 after a
  // check box.
  int FocusedBox() const { return focusedBox_; }
  // The flags of the ticked boxes.
  int32_t Flags() const;

  void OnLoad() override;
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::array<QLineEdit*, 6> FileBoxes() const;
  std::array<QCheckBox*, 5> CheckBoxes() const;

  MonitorState& state_;
  int focusedBox_ = 0;
};

}  // namespace monitor
