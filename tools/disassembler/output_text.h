#pragma once
// Pieces shared by the disassembler's writers: CR LF text, rule lines, the
// common header, operand texts, and reading back the scratch files.
#include <string>
#include <string_view>
#include <vector>

#include "records.h"

namespace k42xxdis {

// A text file built in memory, every line ended by CR LF.
class TextOut {
 public:
  void Line(std::string_view text = {}) {
    text_.append(text);
    text_.append("\r\n");
  }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Rule79();  // ";" and 79 "-"
std::string Rule80();  // ";" and 80 "-"
// The print file's prefix: 20 blanks, ":" and a blank.
inline constexpr std::string_view kPrintPrefix = "                    : ";

// Date "dd/mm/yyyy" and time "hh:mm" of the one wall clock, local time.
struct WriteTime {
  std::string date;
  std::string time;
};
WriteTime CurrentWriteTime();

// N " (0 - " N-1 ")" with N-1 as a 32-bit hex number (N = 0 gives FFFFFFFF).
std::string InstructionRange(uint32_t wordCount);

enum class HeaderKind { kAssembly, kSymbol, kCrossReference };

// The header of the assembly, symbol and cross-reference files; the print
// file's header is the assembly header with `prefix` before every line.
void WriteCommonHeader(TextOut& out, HeaderKind kind, const std::string& ownPath,
                       const LibraryState& state, std::string_view prefix = {});

bool ReadInstructionFile(const LibraryState& state, std::vector<InstructionRecord>& out);
bool ReadReferenceFile(const LibraryState& state, std::vector<OperandReference>& out);

// Clears the label map and marks both maps from the references.
void MarkMaps(LibraryState& state, const std::vector<OperandReference>& references);

enum class OperandStyle { kAssembly, kPrint };
std::string OperandText(OperandStyle style, int which, const OperandReference& operand);

// "L%04X: " when a jump targets `address`, otherwise 7 blanks.
std::string LabelField(const LibraryState& state, uint32_t address);

// The mnemonic, both operand texts, after the label field.
std::string InstructionText(OperandStyle style, const InstructionRecord& record);

// Replaces `path` with `content`; the previous file stays intact on failure.
bool WriteOutputFile(const std::string& path, const std::string& content);

}  // namespace k42xxdis
