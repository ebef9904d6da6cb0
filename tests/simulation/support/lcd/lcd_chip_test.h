#pragma once
// An LCD chip module bound through STDK42XX from a program folder of its own:
// a copy of the module, TAVIX.INI and, when asked, a fake display library
// that logs its calls (one line each). The host window carries the monitor's
// caption; the dialog's controls are read through Qt.
#include <platform/dialog.h>
#include <platform/messages.h>

#include <QWidget>

#include <functional>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "chip_test.h"
#include "chip_window.h"
#include "temp_dir.h"

namespace k42test {

class LcdChipTest : public ChipTest {
 protected:
  // Binds `controller` (module `digits`) with the fake `fake`: "" for no
  // library, else full, no_init, no_status or no_status_mux. `reset`:
  // Instruction_Reset once bound.
  void bindLcd(const std::string& controller, const std::string& digits, const std::string& fake,
               bool reset = true);
  void TearDown() override;

  // InitInterface with a host whose caption is `caption`.
  int32_t openWindow(const std::string& caption = "Tavix");
  void* moduleExport(const char* name) const;
  intptr_t send(uint32_t message, uintptr_t wParam, intptr_t lParam = 0);
  void click(int id) { send(platform::WM_COMMAND, platform::MAKEWPARAM(static_cast<uint16_t>(id), 0)); }
  void scroll(int bar, uint16_t code, int thumb = 0) {
    send(platform::WM_VSCROLL, platform::MAKEWPARAM(code, static_cast<uint16_t>(thumb)), barHandle(bar));
  }
  platform::WindowHandle dialog() const;
  QWidget* control(int id) const;
  std::string text(int id) const { return ControlText(static_cast<QWidget*>(dialog()), id); }
  // An indicator LED is lit.
  bool lit(int id) const;
  intptr_t barHandle(int id) const { return reinterpret_cast<intptr_t>(control(id)); }
  // Dispatches what the module posted to its dialog.
  void drain();
  // Runs `passes` passes in run mode: a break at the last one.
  void runFor(int64_t passes);

  // Every register cell: value 15, compare value 5, flags 0x1B.
  void fillRegisters();
  // Each cell's value is `expected(n)`, its compare value and flags as filled.
  void expectFilledRegisters(const std::function<int(int)>& expected) const;
  // E0003 and E0004 as this module shows them.
  std::vector<std::string> modeErrors() const;

  // The fake library's calls since the last take.
  std::vector<std::string> takeLog();
  // The redraw posts of the module since recording began, in post order.
  void recordRedraws();
  Redraws takeRedraws();

  testsupport::TempDir folder;
  std::unique_ptr<QWidget> host;
  std::string digits;
  Redraws redraws;
};

}  // namespace k42test
