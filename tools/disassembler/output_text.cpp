#include "output_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/atomic_write.h"
#include "platform/wallclock.h"

namespace k42xxdis {

std::string Printf(const char* format, ...) {
  char buffer[128];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) return {};
  if (static_cast<size_t>(n) < sizeof buffer) return std::string(buffer, static_cast<size_t>(n));
  std::string text(static_cast<size_t>(n) + 1, '\0');
  va_start(args, format);
  std::vsnprintf(text.data(), text.size(), format, args);
  va_end(args);
  text.resize(static_cast<size_t>(n));
  return text;
}

std::string Rule79() { return ";" + std::string(79, '-'); }
std::string Rule80() { return ";" + std::string(80, '-'); }

WriteTime CurrentWriteTime() {
  const platform::LocalDateTime now = platform::LocalNow();
  return {Printf("%02d/%02d/%04d", now.day, now.month, now.year),
          Printf("%02d:%02d", now.hour, now.minute)};
}

std::string InstructionRange(uint32_t wordCount) {
  return Printf("%u (0 - %04X)", wordCount, wordCount - 1u);
}

void WriteCommonHeader(TextOut& out, HeaderKind kind, const std::string& ownPath,
                       const LibraryState& state, std::string_view prefix) {
  auto line = [&](const std::string& text) { out.Line(std::string(prefix) + text); };
  const WriteTime now = CurrentWriteTime();
  line(Rule79());
  line(";\t" + ownPath);
  line(Rule79());
  line(";");
  if (kind == HeaderKind::kCrossReference) {
    line(";\tCross Reference of Labels and Variables");
    line(";");
  } else if (kind == HeaderKind::kSymbol) {
    line(";\tSymbol File ( Variables Only )");
    line(";");
  }
  line(";\tDissassembly of :\t" + state.binaryPath);
  line(";\tDate\t\t\t:\t" + now.date);
  line(";\tTime\t\t\t:\t" + now.time);
  line(";\tNb. Instructions:\t" + InstructionRange(state.wordCount));
  line(";\tCheck Sum\t\t:\t" + Printf("%04X", state.checkSum));
  line(Rule79());
  if (kind == HeaderKind::kSymbol) {
    line(" Value:Length");
    line(" ");
  } else {
    line(";");
  }
}

namespace {

template <typename Record>
bool ReadRecords(const std::string& path, std::vector<Record>& out) {
  out.clear();
  if (path.empty()) return false;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  Record record;
  while (std::fread(&record, sizeof record, 1, file) == 1) out.push_back(record);
  const bool ok = std::ferror(file) == 0;
  std::fclose(file);
  return ok;
}

}  // namespace

bool ReadInstructionFile(const LibraryState& state, std::vector<InstructionRecord>& out) {
  return ReadRecords(state.instructionFile, out);
}

bool ReadReferenceFile(const LibraryState& state, std::vector<OperandReference>& out) {
  return ReadRecords(state.referenceFile, out);
}

void MarkMaps(LibraryState& state, const std::vector<OperandReference>& references) {
  state.labelMap.reset();
  for (const OperandReference& ref : references) {
    if (ref.kind == kVariable && ref.value < kVariableNumbers) state.variableMap.set(ref.value);
    if (ref.kind == kLabel && ref.value < kCodeAddresses) state.labelMap.set(ref.value);
  }
}

std::string OperandText(OperandStyle style, int which, const OperandReference& operand) {
  const bool assembly = style == OperandStyle::kAssembly;
  const std::string lead = which == 0 ? std::string(8, ' ') : std::string(", ");
  switch (operand.kind) {
    case kImmediate:
      return lead + Printf(assembly ? "0%01Xh " : "%01X ", operand.value);
    case kVariable:
      return lead + Printf("V%02X ", operand.value);
    case kLabel:
      return lead + Printf("L%04X ", operand.value);
    case kDataWord:
      return lead + Printf(assembly ? "0%04Xh " : "%04X ", operand.value);
    default:
      return {};
  }
}

std::string LabelField(const LibraryState& state, uint32_t address) {
  if (address < kCodeAddresses && state.labelMap.test(address)) return Printf("L%04X: ", address);
  return std::string(7, ' ');
}

std::string InstructionText(OperandStyle style, const InstructionRecord& record) {
  std::string text(record.mnemonic, strnlen(record.mnemonic, sizeof record.mnemonic));
  text += OperandText(style, 0, record.operand[0]);
  text += OperandText(style, 1, record.operand[1]);
  // The assembler wants ROM's operand; 0 leaves the word as it is.
  if (style == OperandStyle::kAssembly && record.opcode == kRomOpcode) text += std::string(8, ' ') + "0 ";
  return text;
}

bool WriteOutputFile(const std::string& path, const std::string& content) {
  return !path.empty() && platform::WriteFileAtomically(path, content);
}

}  // namespace k42xxdis
