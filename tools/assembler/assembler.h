#pragma once
// The assembler's run: one pass over the source and its include files, then
// the patching of forward jumps and the output files. The state is the run's
// own, as a build is one process; the parts of the work live in the files
// named after them (source_reader, encoder, directives, macros, ...).
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "table_file.h"
#include "text_format.h"

namespace k42asm {

// A value that is not known (yet): an undefined symbol somewhere in it.
constexpr int32_t kUnresolved = static_cast<int32_t>(0xA5A5A5A5u);
constexpr int kCodeSize = 4096;
constexpr int kMaxIncludeDepth = 32;
// The run's exit status when the error file cannot be created.
constexpr int kErrorFileNotCreated = 2;
constexpr int kMaxMacroDepth = 16;
// Parentheses and operators nested deeper than this are refused.
constexpr int kMaxExpressionDepth = 256;
// Error lines written to the error file (and poked) before the rest are left
// out, and the bytes they may take (a line repeats its source line).
constexpr int kMaxErrorLines = 4000;
constexpr size_t kMaxErrorFileBytes = 16u << 20;
// The longest text poked to the monitor: far below the link's frame limit,
// so no line can end the conversation (the error file keeps the whole line).
constexpr size_t kMaxPokedBytes = 4096;

// The dispatch codes of the conditional table.
enum ConditionalCode { kIf = 1, kElse, kEndIf, kMacro, kEndMacro };

// One line taken apart by the line parser.
struct SourceLine {
  std::string label;
  std::string operation;
  std::string operand;   // first operand: up to the first ","
  std::string rest;      // the operands after the first ","
  std::string operands;  // all operand text as written after the operation
  int status = 0;        // 0 handled, -1 not (yet) handled or rejected
};

struct ListingLine {
  std::string text;
  int codeAddress = 0;  // address of the line's first word + 1; 0 = no code
};

struct CodeEntry {
  uint16_t word = 0;
  int file = 0;
  int line = 0;
};

// A jump operand to patch after the pass.
struct Reference {
  std::string name;
  int32_t address = 0;
  int row = 0;
  std::string fileName;
  int line = 0;
};

enum SymbolClass : uint8_t {
  kClassPublic = 1,
  kClassExtern = 2,
  kClassRegister = 4,
  kClassMacroRegister = 8,
};

struct SymbolRecord {
  int32_t value = 0;
  uint8_t cls = 0;
  int file = 0;
  int line = 0;
};

// Names sort and match by the byte order of their ASCII upper case.
struct NameLess {
  bool operator()(const std::string& a, const std::string& b) const;
};

struct MacroRecord {
  int paramStart = 0;
  int paramCount = 0;
  int bodyStart = 0;
  int bodyCount = 0;
  int file = 0;
  int line = 0;
};

// What the run needs from its surroundings.
struct RunEnvironment {
  bool linkMode = false;
  std::string programFolder;                     // table files and K42XXDIS
  std::function<void(const std::string&)> poke;  // one line to the monitor
  std::function<void()> beep;
  std::function<int64_t()> now;                     // seconds since the epoch
  std::function<void(const std::string&)> romStep;  // replaces the ROM characteristic step (tests)
};

class Assembler {
 public:
  explicit Assembler(RunEnvironment environment);

  // The whole build for one command line (the switches already taken off):
  // `source` is the name after "/S", `hasSource` false without "/S". Returns
  // the exit status: 0 clean, 1 errors counted, 2 error file not created.
  int Run(const std::string& source, bool hasSource);

  // Views for the debug window.
  int errorCount() const { return errorCount_; }
  const std::string& errorFilePath() const { return errorFile_; }
  int32_t locationCounter() const { return locationCounter_; }
  int listingCount() const { return static_cast<int>(listing_.size()) - 1; }
  std::vector<std::string> symbolNames() const;
  std::vector<std::string> publicNames() const { return publics_; }
  std::vector<std::string> macroNames() const;
  const std::string& debugCaption() const { return debugCaption_; }

  // Parts open to tests.
  int32_t Evaluate(std::string_view text);
  void ReportError(int code, std::string_view extra);
  std::string ErrorText(int code) const;
  const Table& operatorTable() const { return operators_; }

 private:
  friend class AssemblerTestAccess;

  // Build run (build_run.cpp).
  void LoadTables();
  void Poke(const std::string& text);
  void Beeps(int count);
  void RomCharacteristicStep();

  // Errors (error_report.cpp).
  bool CreateErrorFile(const std::string& path);
  void ReportErrorAt(int code, std::string_view extra, const std::string& fileName, int line,
                     const std::string& lineText);
  void WriteError(int code, const std::string& fileName, int line, const std::string& lineText,
                  std::string_view extra);

  // Source reader and line parser (source_reader.cpp).
  void AssembleFile(const std::string& path);
  void AssembleLine(const std::string& text);
  void DefineLineLabel(SourceLine& line);
  void SplitLabel(SourceLine& line);
  void SplitFirstWord(SourceLine& line);
  int AddListingLine(const std::string& text);
  void SetListingCode(int32_t addressPlusOne);

  // Source files (source_reader.cpp).
  int FilerPush(const std::string& path);
  void FilerSetLevel(int saved);
  const std::string& CurrentFileName() const { return fileNames_[currentFile_]; }

  // Instructions (encoder.cpp).
  void AssembleInstruction(SourceLine& line);

  // Directives (directives.cpp).
  void DoDirective(SourceLine& line);
  void DoInclude(const std::string& name);
  void DoEqu(SourceLine& line);
  void DoOrg(SourceLine& line);
  void DoDefineByte(SourceLine& line);
  void DoDefineWord(SourceLine& line);
  void DoDefineDouble(SourceLine& line);
  void DoVar(SourceLine& line);
  void DoProc(SourceLine& line);
  void DoEndProc();
  void DoEject();
  std::vector<std::string> ListItems(const SourceLine& line) const;
  void StoreDataWord(uint16_t word, std::string_view remaining);
  std::string NextSuffix();

  // Conditional assembly and macros (conditional.cpp, macros.cpp).
  void ConditionalLine(SourceLine& line);
  void DefineMacro(SourceLine& line);
  void RecordMacroLine(const std::string& text);
  void ExpandMacro(SourceLine& line);
  std::string SubstituteMacroParameters(const std::string& text) const;

  // Expressions (expression.cpp).
  int32_t EvaluateNested(std::string_view text);
  int32_t EvaluateTerm(std::string_view& text);
  int32_t EvaluateFactor(std::string_view& text);
  int32_t ApplyBinaryOperator(int code, int32_t left, int32_t right);
  int32_t ApplyUnaryOperator(int code, int32_t value);
  int32_t NumericConstant(const std::string& token);

  // Symbols (symbols.cpp).
  bool DefineSymbol(const std::string& name, int line, int file);
  bool IsValidSymbolName(const std::string& name);
  std::string QualifySymbolName(const std::string& name) const;
  std::string QualifyIn(const std::string& name, const std::string& prefix, bool expanding,
                        const std::string& suffix) const;
  int32_t LookupSymbolValue(const std::string& name);
  int FindSymbol(const std::string& name) const;
  void MarkRegisterUse(const std::string& text);
  void DeclareExtern(const std::string& name);
  void CheckPublics();
  bool WriteSymbolFile(const std::string& path);

  // Code image (code_image.cpp).
  void StoreCode(uint16_t word);
  void RecordReference(const std::string& name, int32_t address, int row);
  void ResolveCode();
  bool WriteBinaryFile(const std::string& path);

  // Listing and headers (listing.cpp).
  std::string FileHeader(const std::string& path, const std::string& title) const;
  bool WriteListFile(const std::string& path);
  bool WriteOutput(const std::string& path, const std::string& content);

  RunEnvironment env_;

  // Run state.
  int errorCount_ = 0;
  int errorLines_ = 0;     // lines written to the error file, up to kMaxErrorLines
  size_t errorBytes_ = 0;  // and their bytes
  bool errorsLeftOut_ = false;
  std::string errorFile_;
  std::string sourcePath_;
  std::string baseName_;
  std::string sourceFolder_;
  std::string debugCaption_;
  bool linkOpen_ = false;

  // Tables.
  Table conditionals_;
  Table instructions_;
  Table directives_;
  Table operators_;

  // Source reader.
  std::vector<ListingLine> listing_;  // index 0 unused
  int lineNumber_ = 0;
  bool endOfSource_ = false;
  std::vector<std::string> openFiles_;  // the include chain, as resolved paths
  int lineSymbol_ = 0;                  // symbol entered by the current line's label, or 0

  // Source files.
  std::vector<std::string> fileNames_;
  int fileCount_ = 0;
  int currentFile_ = 0;

  // Code image.
  std::vector<CodeEntry> code_;
  int32_t locationCounter_ = 0;
  std::vector<Reference> references_;

  // Symbols.
  std::map<std::string, int, NameLess> symbols_;
  std::vector<SymbolRecord> records_;  // index = symbol number, 0 unused
  std::vector<std::string> publics_;   // sorted, duplicates kept
  bool found_ = false;

  // Expressions.
  int expressionDepth_ = 0;
  bool expressionTooDeep_ = false;

  // Directives.
  int32_t variableCounter_ = 0;
  std::string title_;
  int pageWidth_ = 64;
  int pageLength_ = 66;
  bool procedure_ = false;
  std::string suffix_;
  int suffixCounter_ = 0;
  std::vector<std::string> globals_;
  int savedGlobalCount_ = 0;

  // Conditional assembly.
  bool skip_ = false;
  int skippedDepth_ = 0;
  int ifCount_ = 0;
  int elseCount_ = 0;

  // Macros.
  bool defining_ = false;
  bool definitionAccepted_ = false;
  std::map<std::string, int, NameLess> macros_;
  std::vector<MacroRecord> macroRecords_;  // index = macro number, 0 unused
  std::vector<std::string> macroStore_;
  int currentMacro_ = 0;
  std::string macroPrefix_;
  bool expanding_ = false;
  std::vector<std::pair<std::string, std::string>> bindings_;
  int macroDepth_ = 0;
  // Set when a call nests too deeply: every enclosing expansion stops too.
  bool expansionRefused_ = false;
  // While a call binds its parameters, the arguments are names of the caller:
  // its qualification.
  bool binding_ = false;
  std::string callerPrefix_;
  bool callerExpanding_ = false;
  std::string callerSuffix_;
};

}  // namespace k42asm
