#pragma once
// The project file: seven lines of bytes, each ended by CR LF, in the order
// of ProjectLine. No header, no keys; an empty value is an empty line.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace monitor {

enum ProjectLine : size_t {
  kSourceLine,
  kIncludeLine,
  kOutputLine,
  kControllerLine,
  kBreakpointLine,
  kTracepointLine,
  kPanelSettingsLine,
  kProjectLines
};

using ProjectLines = std::array<std::string, kProjectLines>;

// The first seven lines, each ended by CR LF, a lone CR or a lone LF; a last
// line without a line end counts. A shorter file gives fewer values.
std::vector<std::string> ReadProjectLines(std::string_view bytes);

// Seven lines, each followed by CR LF. A CR or LF inside a value is written
// as a blank, so no value can shift the lines after it.
std::string WriteProjectLines(const ProjectLines& values);

}  // namespace monitor
