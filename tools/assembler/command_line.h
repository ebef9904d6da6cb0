#pragma once
// The assembler's command line: a prefix of switches, "/D" for link mode and
// "/S" followed by the source name (the rest of the line, case kept).
#include <string>

namespace k42asm {

struct CommandLine {
  bool empty = true;       // nothing on the line
  bool linkMode = false;   // "/D"
  bool hasSource = false;  // "/S" given
  std::string source;
};

CommandLine ParseCommandLine(const std::string& text);

// The arguments joined by single blanks, as one command-line text.
std::string JoinArguments(int argc, char** argv);

}  // namespace k42asm
