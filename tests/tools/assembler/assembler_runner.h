#pragma once
// Runs the real K42xxasm of the program folder as a process, and the
// in-process assembler with recorded pokes and beeps.
#include <string>
#include <vector>

#include "assembler.h"

namespace asmtest {

struct ProcessRun {
  int exitCode = -1;
  long millis = 0;
  std::string standardError;
};

// Starts `program` (default: K42xxasm in the program folder) with the
// arguments, TAVIX_LINK_DIR = `linkDir`, TZ=UTC and a fixed SOURCE_DATE_EPOCH,
// and waits for it.
// `cwd` (when not empty) is the working folder of the process; the variables
// named in `unset` are left out of its environment. Its standard error is
// collected.
ProcessRun RunAssemblerProcess(const std::vector<std::string>& args, const std::string& linkDir,
                               const std::string& program = "", const std::string& cwd = "",
                               const std::vector<std::string>& unset = {});

// An in-process run of the assembler: link mode records the poked lines.
struct InProcessRun {
  int status = -1;
  std::vector<std::string> pokes;
  int beeps = 0;
  std::vector<std::string> symbols;
};
InProcessRun RunInProcess(const std::string& source, bool linkMode = true);

// A golden file of tests/tools/assembler/golden.
std::string Golden(const std::string& name);

// The lines of a CR LF text file, without their line ends.
std::vector<std::string> CrlfLines(const std::string& text);

}  // namespace asmtest
