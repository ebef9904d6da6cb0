#pragma once
// Loads K42XXDIS from the program folder and runs its export on real files,
// recording the message boxes it shows.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace distest {

using DisassembleFunction = int32_t (*)(const char*, const char*, const char*, const char*, const char*,
                                        const char*, int32_t);

struct Message {
  std::string text;
  std::string title;
  bool operator==(const Message&) const = default;
};

// The fixed clock of every test: 14/11/2023 22:13 UTC.
constexpr int64_t kSourceDateEpoch = 1700000000;

class DisassemblerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Writes words high byte first; returns the path.
  std::string WriteImage(const std::string& name, const std::vector<uint16_t>& words);

  // Disassembles `image` into D.asm, D.prt, D.sym, D.sta and D.xrf of the
  // test's folder.
  int32_t Disassemble(const std::string& image, int32_t flags);
  int32_t Disassemble(const std::string& image, const std::string& base, int32_t flags);

  std::string Output(const std::string& extension) const { return dir_.read("D." + extension); }
  bool OutputExists(const std::string& extension) const;

  // The texts of the recorded messages, in order.
  std::vector<std::string> MessageTexts() const;
  size_t CountMessages(const std::string& text) const;

  static DisassembleFunction disassemble_;
  testsupport::TempDir dir_;
  std::vector<Message> messages_;
};

// Splits a CR LF text into lines; fails the test on a bare LF.
std::vector<std::string> Lines(const std::string& text);

}  // namespace distest
