// The listing file and the parameter header it shares with the symbol file.
#include <cstdio>

#include "assembler.h"
#include "platform/atomic_write.h"
#include "platform/wallclock.h"

namespace k42asm {

std::string Assembler::FileHeader(const std::string& path, const std::string& title) const {
  int width = pageWidth_ < 1 ? 1 : pageWidth_;
  const std::string rule =
      std::string(";").append(static_cast<size_t>(width - 1), '-').append("\r\n");
  const std::string lead = ";      ";
  // The header holds no ":", so a drive letter is left out of the path.
  std::string file = path.size() >= 2 && path[1] == ':' ? path.substr(2) : path;

  const platform::LocalDateTime t = platform::ToLocalDateTime(env_.now());
  char date[32], time[32];
  std::snprintf(date, sizeof date, "%02d.%02d.%04d", t.day, t.month, t.year);
  std::snprintf(time, sizeof time, "%02d.%02d.%02d", t.hour, t.minute, t.second);

  std::string h;
  h += rule;
  h += lead + "[Assembler Parameters]\r\n";
  h += rule;
  h += lead + "File = " + file + "\r\n";
  h += lead + "Target Processor = QV K42XX Family\r\n";
  if (locationCounter_ > 0) {
    h += lead + "CodeBeg = 0000H\r\n";
    h += lead + "CodeEnd = " + FormatHex(locationCounter_ - 1) + "H\r\n";
  }
  if (variableCounter_ > 0) {
    h += lead + "VarBeg = 0000H\r\n";
    h += lead + "VarEnd = " + FormatHex(variableCounter_ - 1) + "H\r\n";
  }
  h += lead + "SymbolCount = " + std::to_string(symbols_.size()) + "\r\n";
  h += lead + "Date = " + date + "\r\n";
  h += lead + "Time = " + time + "\r\n";
  h += lead + title + "\r\n";
  h += rule;
  return h;
}

bool Assembler::WriteListFile(const std::string& path) {
  if (errorCount_ != 0) return false;
  std::string out = FileHeader(path, "[Assembler Output]");
  for (size_t i = 1; i < listing_.size(); ++i) {
    const ListingLine& line = listing_[i];
    if (line.codeAddress == 0) {
      out += std::string(16, ' ');
    } else {
      int32_t address = line.codeAddress - 1;
      CodeEntry entry = address >= 0 && address < kCodeSize ? code_[address] : CodeEntry{};
      out += FormatLineNumber(entry.file, 2) + FormatLineNumber(entry.line, 4) + " " +
             FormatHex(address) + " " + FormatHex(entry.word);
    }
    out += " : " + line.text + "\r\n";
  }
  return WriteOutput(path, out);
}

bool Assembler::WriteOutput(const std::string& path, const std::string& content) {
  // A failed write leaves the file of an earlier build whole, and counts as
  // an error.
  bool ok = platform::WriteFileAtomically(path, content);
  if (!ok) ReportError(700, path);
  return ok;
}

}  // namespace k42asm
