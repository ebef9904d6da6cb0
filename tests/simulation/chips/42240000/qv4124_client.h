#pragma once
// QV4124 bound through STDK42XX from a program folder of its own: a copy of
// the module, TAVIX.INI and, when asked, a fake display library that logs
// its calls. The host window carries the monitor's caption.
#include <platform/dialog.h>
#include <platform/messages.h>

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "chip_test.h"
#include "chip_window.h"
#include "temp_dir.h"

namespace qv4124test {

using namespace k42test;

class Qv4124 : public ChipTest {
 protected:
  // `fake`: "" for no library, else a variant (full, no_init, no_status,
  // no_status_mux). `reset`: Instruction_Reset once bound.
  void bind(const std::string& fake, bool reset = true);
  void SetUp() override { bind("full"); }
  void TearDown() override;

  // InitInterface with a host whose caption is `caption`.
  int32_t openWindow(const std::string& caption = "Tavix");
  // An export of the loaded module copy.
  void* moduleExport(const char* name) const;
  // Sends a message to the module's dialog procedure.
  intptr_t send(uint32_t message, uintptr_t wParam, intptr_t lParam = 0);
  void click(int id) { send(platform::WM_COMMAND, platform::MAKEWPARAM(static_cast<uint16_t>(id), 0)); }
  platform::WindowHandle dialog() const;
  // Controls are read through Qt: the dialog belongs to the module's own
  // copy of the dialog layer.
  QWidget* control(int id) const;
  std::string text(int id) const { return ControlText(static_cast<QWidget*>(dialog()), id); }
  intptr_t bar(int id) const { return reinterpret_cast<intptr_t>(control(id)); }
  // Dispatches what the module posted to its dialog.
  void drain();

  // The fake library's calls since the last take.
  std::vector<std::string> takeLog();

  testsupport::TempDir folder;
  std::unique_ptr<QWidget> host;
};

}  // namespace qv4124test
