#include "qv4115_client.h"

namespace qv4115test {

namespace {
Redraws* gRedraws = nullptr;
void Record(int32_t item, intptr_t parts) {
  if (gRedraws != nullptr) gRedraws->emplace_back(item, parts);
}
}  // namespace

void* ModuleExport(const char* name) { return LoadedExport("42150000.DLL", QV4115_MODULE_FOLDER, name); }

void RecordRedraws(Redraws* into) {
  using SetRecorderFn = void (*)(void (*)(int32_t, intptr_t));
  auto set = reinterpret_cast<SetRecorderFn>(ModuleExport("SetRedrawRecorder"));
  ASSERT_NE(set, nullptr);
  gRedraws = into;
  set(into != nullptr ? &Record : nullptr);
}

}  // namespace qv4115test
