// Error reporting: the message table, the error file and the poked lines.
#include <fstream>

#include "assembler.h"

namespace k42asm {
namespace {

struct ErrorMessage {
  int code;
  const char* text;
};

// The message table; any other code is shown as its number.
constexpr ErrorMessage kMessages[] = {
    {100, "Unknown Instruction"},
    {200, "Undefined Variable or Constant"},
    {230, "Reserved Word"},
    {240, "Wrong Nr.of Parameters"},
    {400, "Invalid Numeric Constant"},
    {700, "Unable to open File"},
    {705, "No End of Macro"},
    {1204, "MACRO Name Duplicated"},
    {1599, "Program Memory Overflow"},
    {209, "Incorrect use of Parenthesis"},
    {902, "MACRO nesting not allowed"},
    {708, "Nr of .IF and .ELSE missmatch"},
    {212, "Relocatable Expresion not Allowed"},
    {799, "MACRO without Name"},
    {300, "Symbol defined twice "},
    {399, "Invalid symbol"},
};

}  // namespace

std::string Assembler::ErrorText(int code) const {
  for (const ErrorMessage& m : kMessages)
    if (m.code == code) return m.text;
  // The unfilled slots of the table hold code 0 with an empty text.
  if (code == 0) return "";
  return std::to_string(code);
}

bool Assembler::CreateErrorFile(const std::string& path) {
  errorFile_ = path;
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  return static_cast<bool>(out);
}

void Assembler::ReportError(int code, const std::string& extra) {
  ReportErrorAt(code, extra, "", 0, "");
}

void Assembler::ReportErrorAt(int code, const std::string& extra, const std::string& fileName,
                              int line, const std::string& lineText) {
  if (fileName.empty()) {
    int current = listingCount();
    WriteError(code, CurrentFileName(), lineNumber_, current > 0 ? listing_[current].text : "",
               extra);
  } else {
    WriteError(code, fileName, line, lineText, extra);
  }
}

void Assembler::WriteError(int code, const std::string& fileName, int line,
                           const std::string& lineText, const std::string& extra) {
  PrintZoneLine text;
  text.Join(fileName + " ").Join(FormatLineNumber(line, 4)).Join(":").NextZone();
  text.Join(lineText).Join(" Error ").Join(std::to_string(code)).Join(":").NextZone();
  text.Join(extra);
  {
    // Opened for every error, so the file is complete whenever the run stops;
    // a failed write still counts and pokes the error.
    std::ofstream out(errorFile_, std::ios::binary | std::ios::app);
    if (out) out << text.text() << "\r\n";
  }
  if (errorCount_ < 32767) ++errorCount_;
  Poke(fileName + " ERROR " + std::to_string(code) + ": " + ErrorText(code) + "; line " +
       FormatLineNumber(line - 1, 4) + " - " + extra);
}

}  // namespace k42asm
