#include "qv4115_client.h"

namespace qv4115test {

void* ModuleExport(const char* name) { return LoadedExport("42150000.DLL", QV4115_MODULE_FOLDER, name); }

}  // namespace qv4115test
