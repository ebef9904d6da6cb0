// The code image, the jump operands patched after the pass, and the
// code-image file.
#include "assembler.h"

namespace k42asm {

void Assembler::StoreCode(uint16_t word) {
  // Words past the end of program memory are dropped (error 1599 tells).
  if (locationCounter_ >= 0 && locationCounter_ < kCodeSize)
    code_[locationCounter_] = CodeEntry{word, currentFile_, lineNumber_};
}

void Assembler::RecordReference(const std::string& name, int32_t address, int row) {
  references_.push_back(Reference{name, address, row, CurrentFileName(), lineNumber_});
}

void Assembler::ResolveCode() {
  for (const Reference& ref : references_) {
    int32_t value = LookupSymbolValue(ref.name);
    if (found_) {
      if (ref.address >= 0 && ref.address < kCodeSize) {
        uint16_t base = static_cast<uint16_t>(instructions_[ref.row].code & 0xFFFF);
        code_[ref.address].word = static_cast<uint16_t>(base | (value & 0x0FFF));
      }
    } else {
      ReportErrorAt(200, ref.name, ref.fileName, ref.line, "");
    }
  }
}

bool Assembler::WriteBinaryFile(const std::string& path) {
  if (errorCount_ != 0) return false;
  std::string bytes;
  int32_t words = locationCounter_ < kCodeSize ? locationCounter_ : kCodeSize;
  bytes.reserve(static_cast<size_t>(words) * 2);
  for (int32_t a = 0; a < words; ++a) {
    bytes += static_cast<char>(code_[a].word >> 8);
    bytes += static_cast<char>(code_[a].word & 0xFF);
  }
  return WriteOutput(path, bytes);
}

}  // namespace k42asm
