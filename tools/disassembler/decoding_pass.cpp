#include "decoding_pass.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

#include "instruction_decoder.h"
#include "messages.h"
#include "platform/read_file.h"
#include "platform/tempfiles.h"

namespace k42xxdis {
namespace {

constexpr const char* kTooLargeMessage =
    "Binary file larger than the code space: only its first 4096 words are disassembled";

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Makes a scratch file through the platform's exclusive temporary-file call.
File CreateScratchFile(std::string& path) {
  path = platform::MakeTempFile("DIS");
  if (path.empty()) return nullptr;
  return File(std::fopen(path.c_str(), "wb"));
}

}  // namespace

bool RunDecodingPass(LibraryState& state) {
  // Read as every user-named file is: a pipe or a device cannot hold it up.
  // Only the code space is read, so a huge file costs no more than a full one.
  std::string image;
  bool cut = false;
  if (!platform::ReadFileHead(state.binaryPath, image, 2 * kCodeAddresses, cut)) {
    ShowMessage("Error opening binary file 1", kErrorCaption);
    return false;
  }
  if (cut) ShowMessage(kTooLargeMessage, kErrorCaption);
  File instructions = CreateScratchFile(state.instructionFile);
  if (!instructions) {
    ShowMessage("Error creating tempory file", kErrorCaption);
    return true;
  }
  File references = CreateScratchFile(state.referenceFile);
  if (!references) {
    ShowMessage("Error creating tempory file", kErrorCaption);
    return true;
  }

  state.checkSum = 0;
  state.wordCount = 0;
  InstructionRecord record{};
  bool undefinedShown = false;
  for (size_t at = 0; at + 2 <= image.size(); at += 2) {
    record.word = static_cast<uint32_t>(static_cast<unsigned char>(image[at])) << 8 |
                  static_cast<unsigned char>(image[at + 1]);
    ++state.wordCount;
    state.checkSum ^= record.word;
    DecodeInstruction(record);
    // One box for the whole image: a table of data words is not a box each.
    if (record.opcode == kUndefinedOpcode && !undefinedShown) {
      ShowMessage("UNDEFINED CODE", "ERROR");
      undefinedShown = true;
    }
    ++state.opcodeCounts[record.opcode % kOpcodeCounters];
    bool written = true;
    for (const OperandReference& operand : record.operand)
      if (operand.kind != kNoOperand)
        written = written && std::fwrite(&operand, sizeof operand, 1, references.get()) == 1;
    written = written && std::fwrite(&record, sizeof record, 1, instructions.get()) == 1;
    if (!written) {
      ShowMessage("Unable to write to tempory file", kErrorCaption);
      return true;
    }
    ++record.address;
  }
  const bool instructionsClosed = std::fclose(instructions.release()) == 0;
  const bool referencesClosed = std::fclose(references.release()) == 0;
  const bool closed = instructionsClosed && referencesClosed;
  if (!closed)
    ShowMessage("Unable to write to tempory file", kErrorCaption);
  else if (image.size() % 2 == 1)
    ShowMessage("Incorrect number of bytes in binary file", kErrorCaption);
  return true;
}

void RemoveScratchFiles(LibraryState& state) {
  if (!state.instructionFile.empty()) unlink(state.instructionFile.c_str());
  if (!state.referenceFile.empty()) unlink(state.referenceFile.c_str());
  state.instructionFile.clear();
  state.referenceFile.clear();
}

}  // namespace k42xxdis
