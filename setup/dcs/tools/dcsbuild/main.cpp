// dcsbuild: packs files into a DCS archive.
//
//   dcsbuild [-n NAME] [-t SECONDS] OUTPUT [-m METHOD] [-H] FILE[=NAME] ...
//
// -n the archive's name (default: OUTPUT's file name); -t the archive's and
// every entry's time (default: SOURCE_DATE_EPOCH or now for the archive, each
// file's modification time for its entry); -m the method of the files that
// follow (0 stored, 4 zlib, 5 bzip2); -H hides the next file from listings.
// NAME is the entry's name ('/' becomes '\'), by default the file's name.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "archive_writer.h"
#include "platform/filenames.h"
#include "platform/wallclock.h"

namespace {

int Usage() {
  std::fputs("usage: dcsbuild [-n NAME] [-t SECONDS] OUTPUT [-m 0|4|5] [-H] FILE[=NAME] ...\n",
             stderr);
  return 2;
}

bool ParseNumber(const char* text, unsigned long long limit, unsigned long long& value) {
  char* end = nullptr;
  value = std::strtoull(text, &end, 10);
  return end && end != text && *end == '\0' && value <= limit;
}

}  // namespace

int main(int argc, char** argv) {
  std::string output, archiveName;
  std::optional<uint32_t> fixedTime;
  std::vector<dcsbuild::InputFile> files;
  uint16_t method = 0;
  bool hideNext = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    unsigned long long number = 0;
    const bool hasValue = i + 1 < argc;
    if (arg == "-n" && hasValue) {
      archiveName = argv[++i];
    } else if (arg == "-t" && hasValue) {
      if (!ParseNumber(argv[++i], 0xFFFFFFFFull, number)) return Usage();
      fixedTime = static_cast<uint32_t>(number);
    } else if (arg == "-m" && hasValue) {
      if (!ParseNumber(argv[++i], 5, number) || (number != 0 && number != 4 && number != 5))
        return Usage();
      method = static_cast<uint16_t>(number);
    } else if (arg == "-H") {
      hideNext = true;
    } else if (!arg.empty() && arg[0] == '-') {
      return Usage();
    } else if (output.empty()) {
      output = arg;
    } else {
      dcsbuild::InputFile file;
      const size_t eq = arg.find('=');
      file.path = arg.substr(0, eq);
      file.longName = eq == std::string::npos ? platform::FileName(file.path) : arg.substr(eq + 1);
      for (char& c : file.longName) {
        if (c == '/') c = '\\';
      }
      struct stat info;
      if (stat(file.path.c_str(), &info) != 0) {
        std::fprintf(stderr, "dcsbuild: cannot read %s\n", file.path.c_str());
        return 1;
      }
      file.time = fixedTime ? *fixedTime : static_cast<uint32_t>(info.st_mtime);
      file.method = method;
      file.hidden = std::exchange(hideNext, false);
      files.push_back(file);
    }
  }
  if (output.empty()) return Usage();
  if (archiveName.empty()) archiveName = platform::FileName(output);
  const uint32_t archiveTime =
      fixedTime ? *fixedTime : static_cast<uint32_t>(platform::WallClockSeconds());
  std::string error;
  if (!dcsbuild::WriteArchive(output, archiveName, archiveTime, files, error)) {
    std::fprintf(stderr, "dcsbuild: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
