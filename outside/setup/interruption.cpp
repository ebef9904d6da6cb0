#include "interruption.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace rvsetup {
namespace {

volatile sig_atomic_t g_interrupted = 0;

void OnTerminate(int) {
  g_interrupted = 1;
}

}  // namespace

void WatchInterruptions() {
  struct sigaction action {};
  action.sa_handler = &OnTerminate;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal, &action, nullptr);
}

bool Interrupted() {
  return g_interrupted != 0;
}

void HoldForTest(const char* step) {
  const char* hold = std::getenv("RVSETUP_TEST_HOLD");
  if (!hold) return;
  const std::string text = hold;
  const size_t colon = text.find(':');
  if (colon == std::string::npos || text.compare(0, colon, step) != 0) return;
  close(open(text.c_str() + colon + 1, O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
  for (int tick = 0; tick < 6000 && !Interrupted(); ++tick) usleep(10000);
}

}  // namespace rvsetup
