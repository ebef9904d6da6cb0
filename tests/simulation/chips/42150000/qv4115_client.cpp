#include "qv4115_client.h"

#include <platform/redraw_recorder.h>

namespace qv4115test {

namespace {
Redraws* gRedraws = nullptr;
void Record(int32_t item, intptr_t parts) {
  if (gRedraws != nullptr) gRedraws->emplace_back(item, parts);
}
}  // namespace

void* ModuleExport(const char* name) { return LoadedExport("42150000.DLL", QV4115_MODULE_FOLDER, name); }

void RecordRedraws(Redraws* into) {
  gRedraws = into;
  platform::SetRedrawRecorder(into != nullptr ? &Record : nullptr);
}

}  // namespace qv4115test
