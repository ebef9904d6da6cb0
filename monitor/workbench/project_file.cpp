#include "workbench/project_file.h"

namespace monitor {

std::vector<std::string> ReadProjectLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size() && lines.size() < kProjectLines) {
    const size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(bytes.substr(start));
      break;
    }
    lines.emplace_back(bytes.substr(start, end - start));
    start = end + 1;
    if (bytes[end] == '\r' && start < bytes.size() && bytes[start] == '\n') ++start;
  }
  return lines;
}

std::string WriteProjectLines(const ProjectLines& values) {
  std::string bytes;
  for (const std::string& value : values) {
    for (const char c : value) bytes += c == '\r' || c == '\n' ? ' ' : c;
    bytes += "\r\n";
  }
  return bytes;
}

}  // namespace monitor
