#include "target_client.h"

#include <gtest/gtest.h>
#include <platform/library.h>
#include <platform/messagebox.h>
#include <platform/redraw_recorder.h>

#include <cstdlib>

namespace k42test {

namespace {

platform::LibraryHandle Library() {
  static platform::LibraryHandle handle = [] {
    platform::LibraryHandle h = platform::LoadLibrary("STDK42XX.DLL", TAVIX_DIST_DIR);
    if (h == nullptr) {
      std::fprintf(stderr, "cannot load STDK42XX: %s\n", platform::LastLibraryError().c_str());
      std::abort();
    }
    return h;
  }();
  return handle;
}

template <class Fn>
Fn Bind(const char* name) {
  auto fn = reinterpret_cast<Fn>(platform::GetProcAddress(Library(), name));
  if (fn == nullptr) {
    std::fprintf(stderr, "STDK42XX lacks %s\n", name);
    std::abort();
  }
  return fn;
}

}  // namespace

Stdk& Stdk::Get() {
  static Stdk s{
      Bind<GetControllerFn>("GetController"),
      Bind<SetControllerFn>("SetController"),
      Bind<UnloadInterfaceFn>("UnloadInterface"),
      Bind<InitInterfaceFn>("InitInterface"),
      Bind<InstructionResetFn>("Instruction_Reset"),
      Bind<InstructionExecuteFn>("Instruction_Execute"),
      Bind<InstructionBreakFn>("Instruction_Break"),
      Bind<MonitorWriteFn>("Monitor_Write"),
      Bind<SetControllerOptionsFn>("SetControllerOptions"),
      Bind<GetControllerOptionsFn>("GetControllerOptions"),
      Bind<MTPChecksumFn>("MTPChecksum"),
  };
  return s;
}

void* LoadedExport(const std::string& module, const std::string& folder, const char* name) {
  // The module is already loaded by STDK42XX; this only finds its handle.
  platform::LibraryHandle h = platform::LoadLibrary(module, folder);
  void* symbol = platform::GetProcAddress(h, name);
  platform::FreeLibrary(h);
  return symbol;
}

void* ChipExport(const char* name) { return LoadedExport("TestChip.DLL", TEST_PROGRAM_FOLDER, name); }

std::string ImageBytes(const std::vector<uint16_t>& words) {
  std::string bytes;
  for (uint16_t w : words) {
    bytes += static_cast<char>(w >> 8);
    bytes += static_cast<char>(w & 0xFF);
  }
  return bytes;
}

void Records::loadImage(const std::string& bytes) {
  for (size_t i = 0; i + 1 < bytes.size() && i / 2 < program.size(); i += 2)
    program[i / 2].instr = static_cast<uint8_t>(bytes[i]) << 8 | static_cast<uint8_t>(bytes[i + 1]);
}

void Records::load(const std::vector<uint16_t>& words, int at) {
  Records image;
  image.loadImage(ImageBytes(words));
  for (size_t i = 0; i < words.size(); ++i) program[(at + i) & 0xFFF].instr = image.program[i].instr;
}

int32_t Records::reset() {
  return Stdk::Get().Instruction_Reset(&cpu, program.data(), registers.data(), trace.data());
}

int32_t Records::execute(int32_t mode) {
  return Stdk::Get().Instruction_Execute(&cpu, program.data(), registers.data(), trace.data(), mode);
}

int32_t Records::write(int32_t reg, int32_t value) {
  return Stdk::Get().Monitor_Write(&cpu, program.data(), registers.data(), trace.data(), reg, value);
}

MessageLog::MessageLog() {
  platform::SetMessageBoxHook([this](const std::string& text, const std::string& title, unsigned style) {
    boxes_.push_back({text, title, style});
    return platform::DefaultAnswer(style);
  });
}

MessageLog::~MessageLog() { platform::SetMessageBoxHook({}); }

std::vector<std::string> MessageLog::texts() const {
  std::vector<std::string> t;
  for (const Box& b : boxes_) t.push_back(b.text);
  return t;
}

namespace {
Redraws* gRedraws = nullptr;
void Record(int32_t item, intptr_t parts) {
  if (gRedraws != nullptr) gRedraws->emplace_back(item, parts);
}
}  // namespace

void RecordRedraws(Redraws* into) {
  gRedraws = into;
  platform::SetRedrawRecorder(into != nullptr ? &Record : nullptr);
}

void UseTestChip() {
  ASSERT_EQ(Stdk::Get().SetController("TESTCHIP", 0, TEST_PROGRAM_FOLDER), 0);
}

}  // namespace k42test
