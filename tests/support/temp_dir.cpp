#include "temp_dir.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/tempfiles.h"

namespace testsupport {

TempDir::TempDir() {
  path_ = platform::MakeTempFolder("tavix-test-");
  if (path_.empty()) throw std::runtime_error("cannot create a temporary folder");
  path_ += '/';
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void TempDir::write(const std::string& name, const std::string& content) const {
  WriteFile(path_ + name, content);
}

std::string TempDir::read(const std::string& name) const { return ReadFile(path_ + name); }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

}  // namespace testsupport
