// Directives: includes, end, constants, variables, external and public
// names, data words, origins, procedures and the listing parameters.
#include <algorithm>

#include "assembler.h"
#include "platform/messagebox.h"

namespace k42asm {
namespace {

enum DirectiveCode {
  kInclude = 6,
  kEnd,
  kEqu,
  kExtern,
  kOrg,
  kDefineByte,
  kDefineWord,
  kDefineDouble,
  kVar,
  kGlobal,
  kProc,
  kEndProc,
  kPublic,
  kTitle,
  kPageWidth,
  kPageLength,
  kEject,
  kLeject,
  kPage,
  kError,
};

constexpr uint16_t kNopWord = 0xF0FF;

// Splits a DB list at the commas outside quotes; items are trimmed.
std::vector<std::string> ByteItems(const std::string& text) {
  std::vector<std::string> items;
  std::string item;
  char quote = 0;
  for (char c : text) {
    if (quote == 0 && c == ',') {
      items.push_back(Trim(item));
      item.clear();
      continue;
    }
    if (quote == 0 && (c == '\'' || c == '"'))
      quote = c;
    else if (c == quote)
      quote = 0;
    item += c;
  }
  items.push_back(Trim(item));
  return items;
}

}  // namespace

std::vector<std::string> Assembler::ListItems(const SourceLine& line) const {
  if (line.operand.empty() && line.rest.empty()) return {};
  std::vector<std::string> items = SplitList(line.rest);
  items.insert(items.begin(), line.operand);
  return items;
}

std::string Assembler::NextSuffix() {
  return std::string(".").append(std::to_string(++suffixCounter_));
}

void Assembler::DoDirective(SourceLine& line) {
  if (!line.operation.empty() && line.operation[0] == '.') line.operation.erase(0, 1);
  TableEntry entry = FindTableEntry(directives_, line.operation);
  if (entry.format == 0) {
    line.status = -1;
    return;
  }
  line.status = 0;
  switch (entry.code) {
    case kInclude:
      DoInclude(line.operand);
      break;
    case kEnd:
      endOfSource_ = true;
      break;
    case kEqu:
      DoEqu(line);
      break;
    case kExtern:
      if (line.operand.empty())
        ReportError(502, "EXTERN");
      else
        for (const std::string& name : ListItems(line)) DeclareExtern(name);
      break;
    case kOrg:
      DoOrg(line);
      break;
    case kDefineByte:
      DoDefineByte(line);
      break;
    case kDefineWord:
      DoDefineWord(line);
      break;
    case kDefineDouble:
      DoDefineDouble(line);
      break;
    case kVar:
      DoVar(line);
      break;
    case kGlobal:
      for (const std::string& name : ListItems(line)) globals_.push_back(name);
      break;
    case kProc:
      DoProc(line);
      break;
    case kEndProc:
      DoEndProc();
      break;
    case kPublic:
      if (line.operand.empty())
        ReportError(502, "PUBLIC");
      else
        for (const std::string& name : ListItems(line))
          publics_.insert(std::upper_bound(publics_.begin(), publics_.end(), name, NameLess()),
                          name);
      break;
    case kTitle:
      title_ = line.operand;
      break;
    case kPageWidth:
    case kPageLength: {
      int32_t value = Evaluate(line.operand);
      if (value == kUnresolved) {
        line.status = -1;
      } else {
        (entry.code == kPageWidth ? pageWidth_ : pageLength_) = static_cast<int16_t>(value);
      }
      break;
    }
    case kEject:
      DoEject();
      break;
    case kLeject: {
      // Without operands (or with unknown values) the sizes stay as they were.
      if (!line.operand.empty())
        if (int32_t w = Evaluate(line.operand); w != kUnresolved)
          pageWidth_ = static_cast<int16_t>(w);
      if (!line.rest.empty())
        if (int32_t l = Evaluate(line.rest); l != kUnresolved)
          pageLength_ = static_cast<int16_t>(l);
      DoEject();
      break;
    }
    case kPage:
      title_ = line.operand;
      DoEject();
      break;
    case kError:
      ReportError(0, line.operand);
      break;
    default:
      break;
  }
}

void Assembler::DoInclude(const std::string& name) {
  // A name with a folder is used as written; otherwise it is looked for in
  // the main source's folder.
  std::string path = name;
  for (char& c : path)
    if (c == '\\') c = '/';
  if (name.find('/') == std::string::npos && name.find('\\') == std::string::npos)
    path = sourceFolder_ + path;
  int savedLine = lineNumber_;
  AssembleFile(path);
  lineNumber_ = savedLine;
}

void Assembler::DoEqu(SourceLine& line) {
  int32_t value = Evaluate(line.operand);
  if (lineSymbol_ != 0) records_[lineSymbol_].value = value;
  if (value == kUnresolved) line.status = -1;
}

void Assembler::DoOrg(SourceLine& line) {
  int32_t value = Evaluate(line.operand);
  if (value == kUnresolved) {
    ReportError(200, line.operand);
    return;
  }
  int32_t address = static_cast<int16_t>(value & 0xFFFF);
  if (address < locationCounter_ || address > kCodeSize - 1) {
    // Nothing waits for a person in link mode: the message service prints it.
    platform::MessageBox(" ROM ADRRESS OVERFLOW", "K42xxasm", platform::MB_OK);
    ReportError(1599, line.operand);
    return;
  }
  while (locationCounter_ < address) {
    StoreCode(kNopWord);
    ++locationCounter_;
  }
  if (lineSymbol_ != 0) records_[lineSymbol_].value = address;
}

void Assembler::StoreDataWord(uint16_t word, std::string_view remaining) {
  StoreCode(word);
  ++locationCounter_;
  if (locationCounter_ > kCodeSize - 1) ReportError(1599, remaining);
  SetListingCode(locationCounter_);
}

void Assembler::DoDefineByte(SourceLine& line) {
  if (line.operand.empty()) {
    ReportError(502, "DB");
    return;
  }
  // One word per byte: an expression gives its low 8 bits, a quoted string
  // one word per character.
  std::vector<uint16_t> words;
  for (const std::string& item : ByteItems(line.operands)) {
    char q = item.empty() ? 0 : item[0];
    if ((q == '\'' || q == '"') && item.size() >= 2 && item.back() == q) {
      for (size_t i = 1; i + 1 < item.size(); ++i)
        words.push_back(static_cast<unsigned char>(item[i]));
    } else {
      int32_t value = Evaluate(item);
      if (value == kUnresolved) ReportError(200, item);
      words.push_back(static_cast<uint16_t>(value & 0xFF));
    }
  }
  for (size_t i = 0; i < words.size(); ++i) {
    if (i > 0) AddListingLine("");
    StoreDataWord(words[i], "");
  }
}

void Assembler::DoDefineWord(SourceLine& line) {
  if (line.operand.empty()) {
    ReportError(502, "DW");
    return;
  }
  std::string expression = line.operand;
  ListCursor rest(line.rest);
  for (;;) {
    int32_t value = Evaluate(expression);
    if (value == kUnresolved) ReportError(200, expression);
    StoreDataWord(static_cast<uint16_t>(value & 0xFFFF), rest.rest());
    if (rest.empty()) break;
    AddListingLine("");
    expression = rest.Next();
  }
}

void Assembler::DoDefineDouble(SourceLine& line) {
  if (line.operand.empty()) {
    ReportError(502, "DD");
    return;
  }
  std::string expression = line.operand;
  ListCursor rest(line.rest);
  for (;;) {
    // An unknown value is stored as it stands: A5A5 A5A5.
    uint32_t value = static_cast<uint32_t>(Evaluate(expression));
    StoreDataWord(static_cast<uint16_t>(value & 0xFFFF), rest.rest());
    AddListingLine("");
    StoreDataWord(static_cast<uint16_t>(value >> 16), rest.rest());
    AddListingLine("");
    if (rest.empty()) break;
    expression = rest.Next();
  }
}

void Assembler::DoVar(SourceLine& line) {
  if (!line.rest.empty()) variableCounter_ = Evaluate(line.rest);
  if (lineSymbol_ != 0) records_[lineSymbol_].value = variableCounter_;
  int32_t size = line.operand.empty() ? 1 : Evaluate(line.operand);
  variableCounter_ =
      static_cast<int32_t>(static_cast<uint32_t>(variableCounter_) + static_cast<uint32_t>(size));
}

void Assembler::DoProc(SourceLine& line) {
  savedGlobalCount_ = static_cast<int>(globals_.size());
  for (const std::string& name : ListItems(line)) globals_.push_back(name);
  suffix_ = NextSuffix();
  procedure_ = true;
}

void Assembler::DoEndProc() {
  procedure_ = false;
  if (static_cast<int>(globals_.size()) > savedGlobalCount_) globals_.resize(savedGlobalCount_);
}

void Assembler::DoEject() {
  AddListingLine("\f");
}

}  // namespace k42asm
