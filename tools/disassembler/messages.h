#pragma once
// Message boxes of the disassembler. They go through the platform's message
// service, so a hidden assembler writes a line and tests record them.
#include <string>

namespace k42xxdis {

inline constexpr const char* kErrorCaption = "QV42XX Dissambler Error";

void ShowMessage(const std::string& text, const std::string& caption);

}  // namespace k42xxdis
