// The build run: the order of the steps, the names of the outputs and the
// summary lines.
#include "assembler.h"
#include "platform/filenames.h"
#include "platform/wallclock.h"

namespace k42asm {

Assembler::Assembler(RunEnvironment environment) : env_(std::move(environment)) {
  // The clock of the output headers; SOURCE_DATE_EPOCH fixes it for
  // reproducible outputs.
  if (!env_.now) env_.now = platform::WallClockSeconds;
  linkOpen_ = env_.linkMode && static_cast<bool>(env_.poke);
}

void Assembler::Poke(const std::string& text) {
  if (!linkOpen_) return;
  if (text.size() <= kMaxPokedBytes) return env_.poke(text);
  // Cut before a UTF-8 continuation byte, never inside a character.
  size_t cut = kMaxPokedBytes;
  while (cut > kMaxPokedBytes - 4 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  env_.poke(text.substr(0, cut));
}

void Assembler::Beeps(int count) {
  for (int i = 0; i < count; ++i)
    if (env_.beep) env_.beep();
}

int Assembler::Run(const std::string& source, bool hasSource) {
  Poke("Corvane - K42XX Microcontroller assembler");
  Poke("");

  // Names: a "." in the file name keeps the name as the source path, else
  // ".ASM" is added; the outputs are the base name followed by an extension.
  std::string name = source;
  for (char& c : name)
    if (c == '\\') c = '/';
  if (!hasSource) name.clear();
  if (platform::FileName(name).find('.') != std::string::npos) {
    sourcePath_ = name;
    baseName_ = platform::BaseName(name) + ".";
  } else {
    sourcePath_ = name + ".ASM";
    baseName_ = name + ".";
  }
  sourceFolder_ = platform::FolderOf(sourcePath_);

  Poke("Assembly of " + sourcePath_);
  Poke("");

  if (!CreateErrorFile(baseName_ + "err")) {
    Poke("Path not found : " + baseName_ + "err");
    Poke("");
    Poke("1 Errors");
    linkOpen_ = false;
    Beeps(5);
    return kErrorFileNotCreated;
  }

  LoadTables();
  int64_t started = env_.now();
  AssembleFile(sourcePath_);
  if (!env_.linkMode)
    debugCaption_ = StrNumber(env_.now() - started) + "," + StrNumber(listingCount()) + "," +
                    StrNumber(static_cast<int64_t>(symbols_.size()));

  ResolveCode();
  // The public names are checked before the code image is written, so that a
  // failed build never leaves a new image beside old listing and symbol files.
  CheckPublics();
  WriteBinaryFile(baseName_ + "bin");
  WriteSymbolFile(baseName_ + "sym");
  WriteListFile(baseName_ + "prn");

  if (errorCount_ == 0) {
    Poke("");
    Poke("Generating Rom characteristic file");
    RomCharacteristicStep();
    Beeps(1);
  } else {
    Beeps(5);
  }

  if (env_.linkMode) {
    Poke("");
    Poke(StrNumber(errorCount_) + " Errors");
    if (errorCount_ == 0) {
      Poke("");
      Poke("Prog-Size=" + FormatLineNumber(locationCounter_, 4));
      Poke("");
    }
    linkOpen_ = false;
  }
  return errorCount_ == 0 ? 0 : 1;
}

void Assembler::LoadTables() {
  listing_.assign(1, ListingLine{});
  listing_.reserve(kCodeSize);
  code_.assign(kCodeSize, CodeEntry{});
  records_.assign(1, SymbolRecord{});
  records_.reserve(kCodeSize + 1);
  macroRecords_.assign(1, MacroRecord{});
  references_.clear();
  references_.reserve(512);
  fileNames_.assign(16, std::string());
  fileCount_ = 0;
  currentFile_ = 0;
  macroStore_.clear();
  macroStore_.reserve(512);
  globals_.clear();
  conditionals_.assign(17, TableRecord{});
  instructions_.assign(128, TableRecord{});
  directives_.assign(64, TableRecord{});
  operators_.assign(64, TableRecord{});
  title_.clear();
  pageWidth_ = 64;
  pageLength_ = 66;

  // A missing table file is reported but not counted: the count starts after.
  const std::pair<const char*, Table*> files[] = {{"condirec.ini", &conditionals_},
                                                  {"instruct.ini", &instructions_},
                                                  {"directiv.ini", &directives_},
                                                  {"operator.ini", &operators_}};
  for (const auto& [file, table] : files) {
    std::string path = env_.programFolder + file;
    if (!ReadTableFile(path, *table)) ReportError(700, path);
  }
  errorCount_ = 0;
}

}  // namespace k42asm
