#include "command_line.h"

#include "text_format.h"

namespace k42asm {

CommandLine ParseCommandLine(const std::string& text) {
  CommandLine result;
  std::string rest = Trim(text);
  result.empty = rest.empty();
  // Only switches at the front count: a path may hold "/d" or "/s" itself.
  while (rest.size() >= 2 && rest[0] == '/') {
    char s = rest[1];
    if (s == 'D' || s == 'd') {
      result.linkMode = true;
      rest = TrimLeft(rest.substr(2));
    } else if (s == 'S' || s == 's') {
      result.hasSource = true;
      result.source = TrimLeft(rest.substr(2));
      break;
    } else {
      break;
    }
  }
  return result;
}

std::string JoinArguments(int argc, char** argv) {
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

}  // namespace k42asm
