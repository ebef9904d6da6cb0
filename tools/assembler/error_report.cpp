// Error reporting: the message table, the error file and the poked lines.
#include <fcntl.h>
#include <unistd.h>

#include "assembler.h"
#include "platform/atomic_write.h"

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
  // Like every output, a new file replaces whatever stands at the name: a
  // link planted there is replaced, never followed.
  return platform::WriteFileAtomically(path, "");
}

void Assembler::ReportError(int code, std::string_view extra) {
  ReportErrorAt(code, extra, "", 0, "");
}

void Assembler::ReportErrorAt(int code, std::string_view extra, const std::string& fileName,
                              int line, const std::string& lineText) {
  if (fileName.empty()) {
    int current = listingCount();
    static const std::string kNoText;
    WriteError(code, CurrentFileName(), lineNumber_, current > 0 ? listing_[current].text : kNoText,
               extra);
  } else {
    WriteError(code, fileName, line, lineText, extra);
  }
}

void Assembler::WriteError(int code, const std::string& fileName, int line,
                           const std::string& lineText, std::string_view extra) {
  if (errorCount_ < 32767) ++errorCount_;
  // A hostile source can make millions of errors: after the bound they are
  // only counted, and one last line says so.
  if (errorsLeftOut_) return;
  std::string text;
  std::string poked;
  PrintZoneLine zones;
  zones.Join(fileName + " ").Join(FormatLineNumber(line, 4)).Join(":").NextZone();
  zones.Join(lineText).Join(" Error ").Join(std::to_string(code)).Join(":").NextZone();
  zones.Join(std::string(extra));
  if (errorLines_ >= kMaxErrorLines || errorBytes_ + zones.text().size() > kMaxErrorFileBytes) {
    errorsLeftOut_ = true;
    text = poked = "Too many errors: the rest are left out";
  } else {
    text = zones.text();
    poked = fileName + " ERROR " + std::to_string(code) + ": " + ErrorText(code) + "; line " +
            FormatLineNumber(line - 1, 4) + " - " + std::string(extra);
  }
  ++errorLines_;
  errorBytes_ += text.size() + 2;
  {
    // Opened for every error, so the file is complete whenever the run stops;
    // a failed write still counts and pokes the error. A link put in the
    // file's place since it was made is not followed.
    const int fd = open(errorFile_.c_str(), O_WRONLY | O_APPEND | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
      const std::string line = text + "\r\n";
      [[maybe_unused]] const ssize_t written = write(fd, line.data(), line.size());
      close(fd);
    }
  }
  Poke(poked);
}

}  // namespace k42asm
