// QV4115's periphery window (placeholder until the window is built).
#include "qv4115.h"

namespace qv4115 {

int32_t Chip::InitInterface(void*) { return 0; }
intptr_t Chip::CurposDlg(void*, uint32_t, uintptr_t, intptr_t) { return 0; }
void Chip::ModuleDetach() { dialog_ = nullptr; }

}  // namespace qv4115
