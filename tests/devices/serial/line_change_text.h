#pragma once
// The transcripts' words for what the host did to the line, shared by every
// simulated device: "attach", "detach", "DTR on", "RTS off".
#include <string>

namespace testdevices {

enum class LineChange { kAttach, kDetach, kDtr, kRts };

inline std::string LineChangeText(LineChange change, bool level) {
  switch (change) {
    case LineChange::kAttach:
      return "attach";
    case LineChange::kDetach:
      return "detach";
    case LineChange::kDtr:
      return level ? "DTR on" : "DTR off";
    case LineChange::kRts:
      return level ? "RTS on" : "RTS off";
  }
  return {};
}

}  // namespace testdevices
