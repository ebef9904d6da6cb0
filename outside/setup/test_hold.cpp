#include "test_hold.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "setup/termination.h"

namespace rvsetup {
namespace {

// The marker file of `step`, or "" when the hold names another step.
std::string MarkerOf(const char* step) {
  const char* hold = std::getenv("RVSETUP_TEST_HOLD");
  if (!hold) return "";
  const std::string text = hold;
  const size_t colon = text.find(':');
  if (colon == std::string::npos || text.compare(0, colon, step) != 0) return "";
  return text.substr(colon + 1);
}

}  // namespace

void MarkForTest(const char* step) {
  const std::string marker = MarkerOf(step);
  if (!marker.empty()) close(open(marker.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
}

void HoldForTest(const char* step) {
  const std::string marker = MarkerOf(step);
  if (marker.empty()) return;
  MarkForTest(step);
  for (int tick = 0; tick < 6000 && !setup::TerminationRequested(); ++tick) {
    if (access(marker.c_str(), F_OK) != 0) return;
    usleep(10000);
  }
}

}  // namespace rvsetup
