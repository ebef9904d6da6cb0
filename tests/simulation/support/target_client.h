#pragma once
// The monitor's side of the target interface, for tests: STDK42XX loaded by
// name from the program folder, the four records, code images as the
// assembler writes them (big-endian words), and the message-box log.
#include <k42target.h>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace k42test {

// STDK42XX's exports, bound by name once per process.
struct Stdk {
  GetControllerFn GetController;
  SetControllerFn SetController;
  UnloadInterfaceFn UnloadInterface;
  InitInterfaceFn InitInterface;
  InstructionResetFn Instruction_Reset;
  InstructionExecuteFn Instruction_Execute;
  InstructionBreakFn Instruction_Break;
  MonitorWriteFn Monitor_Write;
  SetControllerOptionsFn SetControllerOptions;
  GetControllerOptionsFn GetControllerOptions;
  MTPChecksumFn MTPChecksum;

  static Stdk& Get();
};

// An export of a module STDK42XX has already loaded (test controls, the
// dialog procedure): `module` as it is named in `folder`, or a full path.
void* LoadedExport(const std::string& module, const std::string& folder, const char* name);
// An export of the test chip of the test program folder.
void* ChipExport(const char* name);

// The records the monitor owns.
struct Records {
  CpuState cpu{};
  std::vector<ProgramCell> program = std::vector<ProgramCell>(k42::kProgramCells);
  std::vector<RegisterCell> registers = std::vector<RegisterCell>(k42::kRegisterCells);
  std::vector<TraceEntry> trace = std::vector<TraceEntry>(k42::kTraceEntries, TraceEntry{-1, 0, 0});

  int32_t& operator[](int word) { return cpu.word[word]; }
  int32_t pc() const { return cpu.word[k42::kPcStack + cpu.word[k42::kStackLevel]]; }
  int32_t reg(int n) const { return registers[n].value & 15; }

  // Fills the program cells from a code image file's bytes.
  void loadImage(const std::string& bytes);
  // Fills them from words, through the image bytes.
  void load(const std::vector<uint16_t>& words, int at = 0);

  int32_t reset();
  int32_t execute(int32_t mode);
  int32_t write(int32_t reg, int32_t value);
};

// A code image as the assembler writes it: each word high byte first.
std::string ImageBytes(const std::vector<uint16_t>& words);

// Message boxes shown while it lives.
class MessageLog {
 public:
  struct Box {
    std::string text, title;
    unsigned style;
  };
  MessageLog();
  ~MessageLog();
  const std::vector<Box>& boxes() const { return boxes_; }
  std::vector<std::string> texts() const;

 private:
  std::vector<Box> boxes_;
};

// The redraw requests of the models of the loaded modules, in post order,
// before coalescing, appended to `into` (null stops recording). The modules
// take the recorder at their next entry (reset, execute, monitor write).
using Redraws = std::vector<std::pair<int, intptr_t>>;
void RecordRedraws(Redraws* into);

// Binds the test chip of the test program folder (fails the test otherwise).
void UseTestChip();

}  // namespace k42test
