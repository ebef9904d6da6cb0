#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "messages.h"
#include "platform/wallclock.h"
#include "writers.h"

namespace k42xxdis {
namespace {

struct ImageInfo {
  long long size = 0;
  int64_t modified = 0;
};

// The code image's size and modification time, from the file itself.
bool ReadImageInfo(const std::string& path, ImageInfo& info) {
  // Non-blocking, so that a pipe without a writer cannot hold the open.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    ShowMessage("Error opening binary file ", kErrorCaption);
    return false;
  }
  struct stat st {};
  const bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  close(fd);
  if (!ok) {
    ShowMessage("Invalid Binary File Handle", kErrorCaption);
    return false;
  }
  info.size = static_cast<long long>(st.st_size);
  info.modified = static_cast<int64_t>(st.st_mtime);
  return true;
}

std::string CountLine(const LibraryState& state, uint32_t first, uint32_t count, bool blankAfterEach) {
  std::string line = "; ";
  for (uint32_t i = 0; i < count; ++i) {
    if (i > 0 && !blankAfterEach) line += ' ';
    line += Printf("%04X", state.opcodeCounts[first + i]);
    if (blankAfterEach) line += ' ';
  }
  return line;
}

}  // namespace

void WriteRomCharacteristicFile(LibraryState& state) {
  ImageInfo image;
  if (!ReadImageInfo(state.binaryPath, image)) return;
  const WriteTime now = CurrentWriteTime();

  TextOut out;
  out.Line(Rule80());
  out.Line(";\t" + state.romPath);
  out.Line(Rule80());
  out.Line(";");
  out.Line(";\tROM Characteristic File");
  out.Line(";");
  out.Line(";\tCompany\t\t\t:\t");
  out.Line(";\tReference\t\t:\t");
  out.Line(";\tSoftware Version:\t");
  out.Line(";\tContact\t\t\t:\t");
  out.Line(";");
  out.Line(";\tDate\t\t\t:\t" + now.date);
  out.Line(";\tTime\t\t\t:\t" + now.time);
  out.Line(";");
  out.Line(";\tBinary file\t\t:\t" + state.binaryPath);
  out.Line(";\tFile size\t\t:\t" + Printf("%lld", image.size));
  out.Line(";\tModified\t\t:\t" + platform::AscTimeText(platform::ToLocalDateTime(image.modified)));
  out.Line(";");
  out.Line(Rule80());
  out.Line(";");
  out.Line(";\tNb. Instructions\t:\t" + InstructionRange(state.wordCount));
  out.Line(";\tCheck Sum\t\t:\t" + Printf("%04X", state.checkSum));
  out.Line(";\tReference Controls\t:");
  out.Line(";");
  for (uint32_t first = 0; first < 64; first += 16) out.Line(CountLine(state, first, 16, false));
  out.Line(CountLine(state, 64, 8, true));
  out.Line(";");
  out.Line(Rule80());

  if (!WriteOutputFile(state.romPath, out.text())) ShowMessage("Unable to open ROM characteristic file", "");
}

}  // namespace k42xxdis
