#include "decoding_pass.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

#include "instruction_decoder.h"
#include "messages.h"
#include "platform/tempfiles.h"

namespace k42xxdis {
namespace {

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

void RunDecodingPass(LibraryState& state) {
  File instructions = CreateScratchFile(state.instructionFile);
  if (!instructions) {
    ShowMessage("Error creating tempory file", kErrorCaption);
    return;
  }
  File references = CreateScratchFile(state.referenceFile);
  if (!references) {
    ShowMessage("Error creating tempory file", kErrorCaption);
    return;
  }
  File image(std::fopen(state.binaryPath.c_str(), "rb"));
  if (!image) {
    ShowMessage("Error opening binary file 1", kErrorCaption);
    return;
  }

  state.checkSum = 0;
  state.wordCount = 0;
  InstructionRecord record{};
  unsigned char bytes[2];
  size_t got = 0;
  bool undefinedShown = false;
  while ((got = std::fread(bytes, 1, 2, image.get())) == 2) {
    record.word = static_cast<uint32_t>(bytes[0]) << 8 | bytes[1];
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
      return;
    }
    ++record.address;
  }
  const bool readFailed = std::ferror(image.get()) != 0;
  image.reset();
  const bool instructionsClosed = std::fclose(instructions.release()) == 0;
  const bool referencesClosed = std::fclose(references.release()) == 0;
  const bool closed = instructionsClosed && referencesClosed;
  if (readFailed)
    ShowMessage("Error opening binary file 1", kErrorCaption);
  else if (!closed)
    ShowMessage("Unable to write to tempory file", kErrorCaption);
  else if (got == 1)
    ShowMessage("Incorrect number of bytes in binary file", kErrorCaption);
}

void RemoveScratchFiles(LibraryState& state) {
  if (!state.instructionFile.empty()) unlink(state.instructionFile.c_str());
  if (!state.referenceFile.empty()) unlink(state.referenceFile.c_str());
  state.instructionFile.clear();
  state.referenceFile.clear();
}

}  // namespace k42xxdis
