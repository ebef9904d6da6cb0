// The source reader and line parser: files are read line by line, each line
// is listed, cut into label, operation and operands, and offered to the
// conditional, macro, instruction and directive handlers in this order.
#include <algorithm>
#include <cstdlib>

#include "assembler.h"
#include "platform/filenames.h"
#include "platform/read_file.h"

namespace k42asm {
namespace {

// Reads a whole text file; lines end with CR LF, LF or CR. A folder or
// anything else that is not a readable file gives false.
bool ReadLines(const std::string& path, std::vector<std::string>& lines) {
  std::string data;
  if (!platform::ReadWholeFile(path, data)) return false;
  size_t start = 0;
  for (size_t i = 0; i < data.size(); ++i) {
    if (data[i] != '\r' && data[i] != '\n') continue;
    lines.push_back(data.substr(start, i - start));
    if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < data.size()) lines.push_back(data.substr(start));
  return true;
}

// The one name of a file, whatever path leads to it.
std::string FileIdentity(const std::string& path) {
  char* resolved = realpath(path.c_str(), nullptr);
  if (!resolved) return path;
  std::string identity(resolved);
  std::free(resolved);
  return identity;
}

}  // namespace

int Assembler::FilerPush(const std::string& path) {
  int saved = currentFile_;
  if (fileCount_ >= static_cast<int>(fileNames_.size())) fileNames_.resize(fileCount_ + 1);
  fileNames_[fileCount_] = path;
  currentFile_ = fileCount_++;
  return saved;
}

void Assembler::FilerSetLevel(int saved) {
  currentFile_ = saved;
}

void Assembler::AssembleFile(const std::string& path) {
  // The name as given, else the same name found without regard to case.
  std::string actual = platform::ResolvePathNoCase(path);
  // A file that is still open further up the include chain would include
  // itself without end: it is refused like a file that cannot be opened.
  std::string identity = actual.empty() ? std::string() : FileIdentity(actual);
  bool inChain = std::find(openFiles_.begin(), openFiles_.end(), identity) != openFiles_.end();
  std::vector<std::string> lines;
  if (static_cast<int>(openFiles_.size()) >= kMaxIncludeDepth || actual.empty() || inChain ||
      !ReadLines(actual, lines)) {
    ReportError(700, path);
    return;
  }
  int saved = FilerPush(actual);
  lineNumber_ = 0;
  endOfSource_ = false;
  openFiles_.push_back(identity);
  for (const std::string& line : lines) {
    if (endOfSource_) break;
    ++lineNumber_;
    AssembleLine(UpperAscii(line));
  }
  openFiles_.pop_back();
  FilerSetLevel(saved);
}

int Assembler::AddListingLine(const std::string& text) {
  listing_.push_back(ListingLine{text, 0});
  return listingCount();
}

void Assembler::SetListingCode(int32_t addressPlusOne) {
  listing_.back().codeAddress = addressPlusOne;
}

void Assembler::AssembleLine(const std::string& raw) {
  AddListingLine(expanding_ ? SubstituteMacroParameters(raw) : raw);
  lineSymbol_ = 0;

  std::string text = raw.substr(0, raw.find(';'));
  for (char& c : text)
    if (c == '\t') c = ' ';
  text = TrimRight(text);
  if (text.empty()) return;

  if (defining_) {
    RecordMacroLine(text);
    return;
  }

  SourceLine line;
  line.rest = text;
  DefineLineLabel(line);
  // A rejected label ends the line: nothing else of it is assembled.
  if (line.status != 0 || line.operation.empty()) return;

  line.status = -1;
  ConditionalLine(line);
  if (line.status != 0) ExpandMacro(line);
  if (line.status != 0) AssembleInstruction(line);
  if (line.status != 0) DoDirective(line);
  if (line.status != 0) ReportError(100, line.operation);
}

void Assembler::DefineLineLabel(SourceLine& line) {
  line.status = 0;
  if (line.rest[0] != ' ') {
    SplitLabel(line);
    if (line.status == -1) return;
    if (DefineSymbol(line.label, lineNumber_, currentFile_))
      lineSymbol_ = static_cast<int>(symbols_.size());
  } else {
    line.rest = TrimLeft(line.rest);
  }
  SplitFirstWord(line);
  line.operands = line.rest;
  if (!line.rest.empty()) line.operand = NextToken(line.rest);
}

void Assembler::SplitLabel(SourceLine& line) {
  size_t cut = line.rest.find(':');
  if (cut == std::string::npos) cut = line.rest.find(' ');
  if (cut == std::string::npos) {
    line.label = TrimRight(line.rest);
    line.rest.clear();
  } else {
    line.label = TrimRight(line.rest.substr(0, cut));
    line.rest = TrimLeft(line.rest.substr(cut + 1));
  }
  for (const Table* table : {&operators_, &instructions_, &directives_, &conditionals_}) {
    if (FindTableEntry(*table, line.label).format != 0) {
      ReportError(230, line.label);
      line.status = -1;
    }
  }
}

void Assembler::SplitFirstWord(SourceLine& line) {
  size_t blank = line.rest.find(' ');
  if (blank == std::string::npos) {
    line.operation = line.rest;
    line.rest.clear();
  } else {
    line.operation = line.rest.substr(0, blank);
    line.rest = TrimLeft(line.rest.substr(blank + 1));
  }
}

}  // namespace k42asm
