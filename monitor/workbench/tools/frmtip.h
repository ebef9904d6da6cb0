#pragma once
// The tip of the day: a random line of tipofday.txt in the program folder,
// Next Tip, and "Don't show Tips at Startup", which the start-up reads. Shown
// modally, at start-up and from the Help menus.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <string>

#include "platform/forms.h"
#include "workbench/tools/tip_list.h"

namespace monitor {

class MonitorState;

inline constexpr char kTipFileName[] = "tipofday.txt";
inline constexpr char kShowTipsValue[] = "Show Tips at Startup";

class frmTip : public platform::Form {
 public:
  explicit frmTip(MonitorState& state);

  QLabel *Label1, *lblTipText, *Picture1;
  QCheckBox* chkLoadTipsAtStartup;
  QPushButton *cmdNextTip, *cmdOK;

  // The tips and their random source (seeded from the wall clock at load).
  TipList& Tips() { return tips_; }

  void OnLoad() override;
  bool LoadTips(const std::string& path);
  void ShowNextTip();
  void DisplayCurrentTip();
  void cmdNextTip_Click() { ShowNextTip(); }
  // Writes the box's state (0 or 1) to "Show Tips at Startup".
  void chkLoadTipsAtStartup_Click();
  void cmdOK_Click();

 private:
  MonitorState& state_;
  TipList tips_;
};

}  // namespace monitor
