// The instruction encoder: a mnemonic of the instruction table becomes one
// word at the location counter.
#include "assembler.h"

namespace k42asm {

void Assembler::AssembleInstruction(SourceLine& line) {
  TableEntry entry = FindTableEntry(instructions_, line.operation);
  if (entry.format == 0) {
    line.status = -1;
    return;
  }
  line.status = 0;
  const TableRecord& row = instructions_[entry.row];
  uint16_t base = static_cast<uint16_t>(row.code & 0xFFFF);
  uint16_t word = 0;

  if (row.format == kFormatAddress) {
    // A program address is the value of the symbol the operand names; an
    // unknown name is patched after the pass.
    int32_t value = LookupSymbolValue(line.operand);
    if (!found_) {
      std::string qualified = QualifySymbolName(line.operand);
      RecordReference(qualified, locationCounter_, entry.row);
    }
    word = static_cast<uint16_t>(base | (value & 0x0FFF));
  } else {
    if (row.operandCount == 0 && !line.operand.empty()) ReportError(240, line.operand);
    if (row.operandCount == 1 && !line.rest.empty()) ReportError(240, line.rest);
    if (row.operandCount >= 1 && line.operand.empty()) ReportError(240, "");
    if (row.operandCount >= 2 && line.rest.empty()) ReportError(240, "");
    int32_t op1 = 0;
    int32_t op2 = 0;
    if (row.operandCount >= 1) {
      op1 = Evaluate(line.operand);
      if (op1 == kUnresolved) ReportError(200, line.operand);
    }
    if (row.operandCount >= 2) {
      op2 = Evaluate(line.rest);
      if (op2 == kUnresolved) ReportError(200, line.rest);
    }
    switch (row.format) {
      case kFormatNone:
        word = base;
        break;
      case kFormatRegister:
        MarkRegisterUse(line.operand);
        word = static_cast<uint16_t>(base | (op1 & 0x7F));
        break;
      case kFormatImmediate:
        word = static_cast<uint16_t>(base | (op1 & 0x0F));
        break;
      case kFormatRegisterImmediate:
        MarkRegisterUse(line.operand);
        word = static_cast<uint16_t>(base | ((op2 & 0x0F) << 8) | (op1 & 0x7F));
        break;
      case kFormatHighImmediate:
        word = static_cast<uint16_t>(base | ((op1 & 0x0F) << 8));
        break;
      default:
        word = 0;
        break;
    }
  }

  StoreCode(word);
  SetListingCode(locationCounter_ + 1);
  locationCounter_ += row.size;
  if (locationCounter_ >= kCodeSize) ReportError(1599, line.operation);
}

}  // namespace k42asm
