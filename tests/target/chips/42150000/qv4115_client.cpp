#include "qv4115_client.h"

#include <k42target.h>
#include <platform/library.h>

namespace qv4115test {

namespace {
Redraws* gRedraws = nullptr;
void Record(int32_t item, intptr_t parts) {
  if (gRedraws != nullptr) gRedraws->emplace_back(item, parts);
}
}  // namespace

void* ModuleExport(const char* name) {
  // STDK42XX has loaded the module; this only finds its handle.
  platform::LibraryHandle h = platform::LoadLibrary("42150000.DLL", QV4115_MODULE_FOLDER);
  void* symbol = platform::GetProcAddress(h, name);
  platform::FreeLibrary(h);
  return symbol;
}

void RecordRedraws(Redraws* into) {
  using SetRecorderFn = void (*)(void (*)(int32_t, intptr_t));
  auto set = reinterpret_cast<SetRecorderFn>(ModuleExport("SetRedrawRecorder"));
  ASSERT_NE(set, nullptr);
  gRedraws = into;
  set(into != nullptr ? &Record : nullptr);
}

void Qv4115::SetUp() {
  ASSERT_EQ(Stdk::Get().SetController("QV4115", 0, QV4115_PROGRAM_FOLDER), 0);
  r[k42::kTraceLast] = 8191;
  program({JMP(0)});
}

void Qv4115::program(const std::vector<uint16_t>& words) {
  r.load(words);
  r.load({LDR(0), STA(127), JMP(kReadRoutine + 2)}, kReadRoutine);
  r.reset();
}

void Qv4115::step(int n) {
  for (int i = 0; i < n; ++i) r.execute(k42::kRunModeStep);
}

int Qv4115::read(int n) {
  const int32_t level = r[k42::kStackLevel];
  const int32_t pc = r.pc();
  r.program[kReadRoutine].instr = LDR(n);
  r[k42::kPcStack + level] = kReadRoutine;
  step(2);
  r[k42::kPcStack + level] = pc;
  return r.reg(127);
}

}  // namespace qv4115test
