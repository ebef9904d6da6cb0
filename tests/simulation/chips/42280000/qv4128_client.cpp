#include "qv4128_client.h"

#include <platform/dialog.h>

namespace qv4128test {

void* ModuleExport(const char* name) { return LoadedExport("42280000.DLL", QV4128_MODULE_FOLDER, name); }

void ClickPin(int buttonId) {
  auto dialogProc = reinterpret_cast<CurposDlgFn>(ModuleExport("CurposDlg"));
  ASSERT_NE(dialogProc, nullptr);
  dialogProc(nullptr, platform::WM_COMMAND,
             platform::MAKEWPARAM(static_cast<uint16_t>(buttonId), platform::BN_CLICKED), 0);
}

}  // namespace qv4128test
