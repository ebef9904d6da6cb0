// The symbol table: names with values, their qualification inside
// procedures and macro expansions, the public-name check and the symbol file.
#include <algorithm>

#include "assembler.h"

namespace k42asm {
namespace {

unsigned char UpperByte(char c) {
  return static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
}

}  // namespace

bool NameLess::operator()(const std::string& a, const std::string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char x, char y) { return UpperByte(x) < UpperByte(y); });
}

std::vector<std::string> Assembler::symbolNames() const {
  std::vector<std::string> names;
  for (const auto& [name, number] : symbols_) names.push_back(name);
  return names;
}

std::string Assembler::QualifySymbolName(const std::string& name) const {
  // While a call binds its parameters the names it defines stay as generated,
  // also inside a procedure, so the body finds them.
  if (!expanding_ && !macroPrefix_.empty()) return name;
  return QualifyIn(name, macroPrefix_, expanding_, suffix_);
}

std::string Assembler::QualifyIn(const std::string& name, const std::string& prefix, bool expanding,
                                 const std::string& suffix) const {
  if (expanding) return prefix + name + suffix;
  if (procedure_) {
    bool global = std::any_of(globals_.begin(), globals_.end(), [&](const std::string& g) {
      return !NameLess()(g, name) && !NameLess()(name, g);
    });
    if (!global) return name + suffix;
  }
  return name;
}

bool Assembler::IsValidSymbolName(const std::string& name) {
  if (name.empty()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    char c = name[i];
    bool ok = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
              (i > 0 && ((c >= '0' && c <= '9') || c == '#')) || (c == ':' && i + 1 < name.size());
    if (!ok) {
      ReportError(399, name);
      return false;
    }
  }
  return true;
}

bool Assembler::DefineSymbol(const std::string& name, int line, int file) {
  if (macroPrefix_.empty()) IsValidSymbolName(name);
  if (skip_) return false;
  std::string qualified = QualifySymbolName(name);
  if (symbols_.count(qualified) != 0) {
    ReportError(300, qualified);
    return false;
  }
  records_.push_back(SymbolRecord{locationCounter_, 0, file, line});
  symbols_.emplace(qualified, static_cast<int>(records_.size()) - 1);
  return true;
}

int Assembler::FindSymbol(const std::string& name) const {
  std::string qualified = binding_ ? QualifyIn(name, callerPrefix_, callerExpanding_, callerSuffix_)
                                   : QualifySymbolName(name);
  auto it = symbols_.find(qualified);
  if (it == symbols_.end()) it = symbols_.find(name);
  return it == symbols_.end() ? 0 : it->second;
}

int32_t Assembler::LookupSymbolValue(const std::string& name) {
  int number = FindSymbol(name);
  found_ = number != 0;
  return found_ ? records_[number].value : kUnresolved;
}

void Assembler::MarkRegisterUse(const std::string& text) {
  if (int number = FindSymbol(text); number != 0)
    records_[number].cls |= expanding_ ? kClassMacroRegister : kClassRegister;
}

void Assembler::DeclareExtern(const std::string& name) {
  if (DefineSymbol(name, lineNumber_, currentFile_)) {
    SymbolRecord& r = records_.back();
    r.value = 0;
    r.cls = kClassExtern;
  }
}

void Assembler::CheckPublics() {
  for (const std::string& name : publics_) {
    auto it = symbols_.find(name);
    if (it != symbols_.end()) {
      records_[it->second].cls = kClassPublic;
    } else {
      ReportError(200, name);
    }
  }
}

bool Assembler::WriteSymbolFile(const std::string& path) {
  if (errorCount_ != 0) return false;
  std::string out = FileHeader(path, "[Symbol Table]");
  out += PrintZoneLine()
             .NextZone()
             .Join("Value:Length")
             .NextZone()
             .Join("Line")
             .NextZone()
             .Join("Class")
             .text();
  out += "\r\n";
  for (const auto& [name, number] : symbols_) {
    const SymbolRecord& r = records_[number];
    std::string cls = (r.cls & 3) == kClassPublic   ? "PUBLIC"
                      : (r.cls & 3) == kClassExtern ? "EXTERN"
                                                    : "";
    if (r.cls & kClassRegister) cls += "-Reg";
    PrintZoneLine line;
    line.Join(name).NextZone().Join(FormatHex(r.value)).Join("  4").NextZone();
    line.Join(FormatLineNumber(r.file, 2) + FormatLineNumber(r.line, 4)).NextZone().Join(cls);
    out += line.text() + "\r\n";
  }
  return WriteOutput(path, out);
}

}  // namespace k42asm
