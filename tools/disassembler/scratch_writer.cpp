#include "messages.h"
#include "writers.h"

namespace k42xxdis {

void WriteFromScratchFiles(LibraryState& state, const std::string& path, const char* createFailure,
                           bool reportMissingReferences, const BodyWriter& write) {
  std::vector<InstructionRecord> records;
  std::vector<OperandReference> references;
  const bool haveRecords = ReadInstructionFile(state, records);
  const bool haveReferences = haveRecords && ReadReferenceFile(state, references);
  if (!haveReferences) {
    // The file is still made, without a body, as the writer would have made it.
    if (!WriteOutputFile(path, {})) {
      ShowMessage(createFailure, "");
      return;
    }
    if (!haveRecords || reportMissingReferences)
      ShowMessage("Error reopening tempory file", kErrorCaption);
    return;
  }
  MarkMaps(state, references);
  TextOut out;
  write(out, records, references);
  if (!WriteOutputFile(path, out.text())) ShowMessage(createFailure, "");
}

}  // namespace k42xxdis
