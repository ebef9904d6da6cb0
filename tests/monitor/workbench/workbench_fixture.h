#pragma once
// A monitor with the workbench bound, its registry in a fresh folder, and
// every dialog and message box answered from a script and recorded.
#include <QString>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "monitor_fixture.h"
#include "platform/hooks.h"
#include "recording_printer.h"
#include "workbench/frmnotepad.h"
#include "workbench/mdinote.h"

namespace monitortest {

using testsupport::CapturingPrinter;
using testsupport::Paper;

class WorkbenchTest : public MonitorTest {
 protected:
  WorkbenchTest();
  ~WorkbenchTest() override;

  // Main, with the main window's Ready state.
  monitor::Monitorform* Begin();
  // The editor of a slot, or null.
  monitor::frmNotePad* Editor(int slot) const;
  monitor::frmNotePad* Active() const { return monitor::ActiveEditor(bench); }
  // An editor's menu command as its click runs it.
  void Click(monitor::frmNotePad* editor, const std::string& item);
  using MonitorTest::Click;
  // The recent files stored in the registry.
  std::vector<std::string> Recent() const;
  std::vector<std::string> Captions(const platform::MenuSet& menus) const;
  int SlotsInUse() const;

  // Answers, in order: file dialogs (a name, or nothing to cancel) and
  // message boxes (the default answer once the script is empty).
  std::deque<std::optional<std::string>> fileAnswers;
  std::deque<int> boxAnswers;
  std::vector<std::string> dialogs;  // "Open|Open File|<filter>"
  std::optional<platform::CommonDialog> lastDialog;
  Paper paper;

  testsupport::TempDir files;
  monitor::Workbench bench{state};
};

}  // namespace monitortest
