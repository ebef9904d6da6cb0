// Macros: a definition stores its parameter names and body lines; a call
// binds the parameters as constants local to the call and assembles the body
// again, its names made local by the macro prefix and a unique suffix.
#include <cctype>

#include "assembler.h"

namespace k42asm {

std::vector<std::string> Assembler::macroNames() const {
  std::vector<std::string> names;
  for (const auto& [name, number] : macros_) names.push_back(name);
  return names;
}

void Assembler::DefineMacro(SourceLine& line) {
  if (line.label.empty()) {
    ReportError(799, "MACRO");
    return;
  }
  // The parser entered the macro's name as a label: take exactly that symbol out again.
  if (lineSymbol_ != 0 && lineSymbol_ == static_cast<int>(records_.size()) - 1) {
    for (auto it = symbols_.begin(); it != symbols_.end(); ++it) {
      if (it->second == lineSymbol_) {
        symbols_.erase(it);
        break;
      }
    }
    records_.pop_back();
    lineSymbol_ = 0;
  }
  if (macros_.count(line.label) != 0) {
    ReportError(1204, line.label);
    return;
  }
  MacroRecord record;
  std::vector<std::string> params = ListItems(line);
  record.paramStart = params.empty() ? 0 : static_cast<int>(macroStore_.size());
  record.paramCount = static_cast<int>(params.size());
  for (const std::string& p : params) macroStore_.push_back(p);
  record.bodyStart = static_cast<int>(macroStore_.size());
  record.file = currentFile_;
  record.line = lineNumber_;
  macroRecords_.push_back(record);
  currentMacro_ = static_cast<int>(macroRecords_.size()) - 1;
  macros_.emplace(line.label, currentMacro_);
  definitionAccepted_ = true;
}

void Assembler::RecordMacroLine(const std::string& text) {
  if (definitionAccepted_) {
    macroStore_.push_back(text);
    ++macroRecords_[currentMacro_].bodyCount;
  }
  SourceLine line;
  line.rest = text;
  if (text[0] != ' ')
    SplitLabel(line);  // reserved words are reported; nothing is defined
  else
    line.rest = TrimLeft(line.rest);
  SplitFirstWord(line);

  TableEntry entry = FindTableEntry(conditionals_, line.operation);
  if (entry.format != 0 && entry.code == kMacro) {
    ReportError(902, "MACRO");
  } else if (entry.format != 0 && entry.code == kEndMacro) {
    defining_ = false;
    if (definitionAccepted_) {
      // The ENDM line itself is not part of the body.
      macroStore_.pop_back();
      --macroRecords_[currentMacro_].bodyCount;
    }
    definitionAccepted_ = false;
  } else if (macros_.count(line.operation) != 0) {
    ReportError(902, "MACRO");
  }
}

void Assembler::ExpandMacro(SourceLine& line) {
  auto it = macros_.find(line.operation);
  if (it == macros_.end()) {
    line.status = -1;
    return;
  }
  line.status = 0;
  if (expansionRefused_) return;
  if (macroDepth_ >= kMaxMacroDepth) {
    // A call nested this deep calls itself: the whole expansion it stands in
    // stops here, or a body that calls itself twice would double the work
    // at every level.
    ReportError(902, "MACRO");
    expansionRefused_ = true;
    return;
  }
  const MacroRecord record = macroRecords_[it->second];

  // The state of an enclosing expansion (or procedure) comes back afterwards:
  // a procedure's locals keep their suffix after a call inside it.
  const std::string savedPrefix = macroPrefix_;
  const std::string savedSuffix = suffix_;
  const bool savedExpanding = expanding_;
  const auto savedBindings = bindings_;
  const std::string savedCallerPrefix = callerPrefix_, savedCallerSuffix = callerSuffix_;
  const bool savedCallerExpanding = callerExpanding_;
  ++macroDepth_;
  callerPrefix_ = macroPrefix_;
  callerExpanding_ = expanding_;
  callerSuffix_ = suffix_;

  expanding_ = false;
  bindings_.clear();
  macroPrefix_ = it->first + ".";
  suffix_ = NextSuffix();
  AssembleLine(macroPrefix_ + suffix_ + ":");

  ListCursor rest(line.rest);
  for (int i = 0; i < record.paramCount && !expansionRefused_; ++i) {
    std::string argument;
    if (i == 0) {
      if (line.operand.empty()) break;
      argument = line.operand;
    } else {
      if (rest.empty()) break;
      argument = rest.Next();
    }
    const std::string& param = macroStore_[record.paramStart + i];
    bindings_.emplace_back(param, argument);
    binding_ = true;
    AssembleLine(macroPrefix_ + param + suffix_ + " EQU " + argument);
    binding_ = false;
  }

  expanding_ = true;
  for (int i = 0; i < record.bodyCount && !expansionRefused_; ++i) {
    std::string body = macroStore_[record.bodyStart + i];  // the store may grow meanwhile
    AssembleLine(body);
  }

  // The outermost call ends the refused expansion; the next call starts anew.
  if (--macroDepth_ == 0) expansionRefused_ = false;
  macroPrefix_ = savedPrefix;
  expanding_ = savedExpanding;
  bindings_ = savedBindings;
  suffix_ = savedSuffix;
  callerPrefix_ = savedCallerPrefix;
  callerSuffix_ = savedCallerSuffix;
  callerExpanding_ = savedCallerExpanding;
}

std::string Assembler::SubstituteMacroParameters(const std::string& text) const {
  // Only the first occurrence of each parameter is looked at, and only the
  // character after it decides whether it is a whole word.
  std::string result = text;
  std::string upper = UpperAscii(text);
  for (const auto& [param, argument] : bindings_) {
    if (param.empty()) continue;
    size_t at = upper.find(UpperAscii(param));
    if (at == std::string::npos) continue;
    size_t after = at + param.size();
    if (after < result.size() && std::isalnum(static_cast<unsigned char>(result[after]))) continue;
    result.replace(at, param.size(), argument);
    upper = UpperAscii(result);
  }
  return result;
}

}  // namespace k42asm
