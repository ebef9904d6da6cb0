#include "disassembler_fixture.h"

#include <sys/stat.h>

#include <cstdlib>
#include <ctime>

#include "platform/library.h"
#include "platform/messagebox.h"

namespace distest {

DisassembleFunction DisassemblerTest::disassemble_ = nullptr;

void DisassemblerTest::SetUpTestSuite() {
  platform::LibraryHandle library = platform::LoadLibrary("K42XXDIS", TAVIX_DIST_DIR);
  ASSERT_NE(library, nullptr) << platform::LastLibraryError();
  disassemble_ = reinterpret_cast<DisassembleFunction>(platform::GetProcAddress(library, "Disassemble_K42XX"));
  ASSERT_NE(disassemble_, nullptr);
}

void DisassemblerTest::SetUp() {
  ASSERT_NE(disassemble_, nullptr);
  setenv("TZ", "UTC", 1);
  setenv("SOURCE_DATE_EPOCH", std::to_string(kSourceDateEpoch).c_str(), 1);
  tzset();
  platform::SetMessageBoxHook([this](const std::string& text, const std::string& title, unsigned style) {
    messages_.push_back({text, title});
    return platform::DefaultAnswer(style);
  });
}

void DisassemblerTest::TearDown() { platform::SetMessageBoxHook({}); }

std::string DisassemblerTest::WriteImage(const std::string& name, const std::vector<uint16_t>& words) {
  std::string bytes;
  for (uint16_t w : words) {
    bytes += static_cast<char>(w >> 8);
    bytes += static_cast<char>(w & 0xFF);
  }
  dir_.write(name, bytes);
  return dir_.file(name);
}

int32_t DisassemblerTest::Disassemble(const std::string& image, int32_t flags) {
  return Disassemble(image, dir_.file("D."), flags);
}

int32_t DisassemblerTest::Disassemble(const std::string& image, const std::string& base, int32_t flags) {
  return disassemble_(image.c_str(), (base + "asm").c_str(), (base + "prt").c_str(), (base + "sym").c_str(),
                      (base + "sta").c_str(), (base + "xrf").c_str(), flags);
}

bool DisassemblerTest::OutputExists(const std::string& extension) const {
  struct stat st;
  return stat(dir_.file("D." + extension).c_str(), &st) == 0;
}

std::vector<std::string> DisassemblerTest::MessageTexts() const {
  std::vector<std::string> texts;
  for (const Message& m : messages_) texts.push_back(m.text);
  return texts;
}

size_t DisassemblerTest::CountMessages(const std::string& text) const {
  size_t n = 0;
  for (const Message& m : messages_) n += m.text == text;
  return n;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      ADD_FAILURE() << "text does not end with CR LF";
      end = text.size();
    }
    std::string line = text.substr(start, end - start);
    if (line.find('\n') != std::string::npos) ADD_FAILURE() << "bare LF in: " << line;
    lines.push_back(std::move(line));
    start = end + 2;
  }
  return lines;
}

}  // namespace distest
