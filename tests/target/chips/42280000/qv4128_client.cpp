#include "qv4128_client.h"

#include <k42target.h>
#include <platform/dialog.h>
#include <platform/library.h>

namespace qv4128test {

void* ModuleExport(const char* name) {
  // STDK42XX has loaded the module; this only finds its handle.
  platform::LibraryHandle h = platform::LoadLibrary("42280000.DLL", QV4128_MODULE_FOLDER);
  void* symbol = platform::GetProcAddress(h, name);
  platform::FreeLibrary(h);
  return symbol;
}

void ClickPin(int buttonId) {
  auto dialogProc = reinterpret_cast<CurposDlgFn>(ModuleExport("CurposDlg"));
  ASSERT_NE(dialogProc, nullptr);
  dialogProc(nullptr, platform::WM_COMMAND,
             platform::MAKEWPARAM(static_cast<uint16_t>(buttonId), platform::BN_CLICKED), 0);
}

void Qv4128::SetUp() {
  ASSERT_EQ(Stdk::Get().SetController("QV4128", 0, QV4128_PROGRAM_FOLDER), 0);
  r[k42::kTraceLast] = 8191;
  program({JMP(0)});
}

void Qv4128::program(const std::vector<uint16_t>& words) {
  r.load(words);
  r.load({LDR(0), STA(127), JMP(kReadRoutine + 2)}, kReadRoutine);
  r.reset();
}

void Qv4128::step(int n) {
  for (int i = 0; i < n; ++i) r.execute(k42::kRunModeStep);
}

int Qv4128::read(int n) {
  const int32_t level = r[k42::kStackLevel];
  const int32_t pc = r.pc();
  r.program[kReadRoutine].instr = LDR(n);
  r[k42::kPcStack + level] = kReadRoutine;
  step(2);
  r[k42::kPcStack + level] = pc;
  return r.reg(127);
}

}  // namespace qv4128test
