#include "qv4115_client.h"

#include <platform/redraw_recorder.h>

namespace qv4115test {

void* ModuleExport(const char* name) { return LoadedExport("42150000.DLL", QV4115_MODULE_FOLDER, name); }

void RecordRedraws(Redraws* into) {
  if (into == nullptr)
    platform::SetRedrawRecorder({});
  else
    platform::SetRedrawRecorder([into](int item, intptr_t parts) { into->emplace_back(item, parts); });
}

}  // namespace qv4115test
