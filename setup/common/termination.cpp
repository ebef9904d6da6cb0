#include "setup/termination.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace setup {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

volatile sig_atomic_t g_requested = 0;  // the signal of the last request
int g_wake[2] = {-1, -1};               // open for the program's life

void OnTerminate(int signal) {
  g_requested = signal;
  const char byte = 1;
  ssize_t ignored = write(g_wake[1], &byte, 1);
  (void)ignored;
}

void Handle(void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  for (int signal : kSignals) sigaction(signal, &action, nullptr);
}

}  // namespace

void WatchTerminations() {
  // Without the pipe a request is still noted; only the event loop is not woken.
  if (g_wake[0] < 0 && pipe2(g_wake, O_CLOEXEC | O_NONBLOCK) != 0) g_wake[0] = g_wake[1] = -1;
  Handle(&OnTerminate);
}

void IgnoreTerminations() {
  Handle(SIG_IGN);
}

bool TerminationRequested() {
  return g_requested != 0;
}

int TerminationSignal() {
  return g_requested;
}

std::unique_ptr<QSocketNotifier> NotifyTerminations(std::function<void()> onRequest) {
  if (g_wake[0] < 0) return nullptr;
  auto notifier = std::make_unique<QSocketNotifier>(g_wake[0], QSocketNotifier::Read);
  QObject::connect(notifier.get(), &QSocketNotifier::activated, [onRequest] {
    char drained[16];
    while (read(g_wake[0], drained, sizeof drained) > 0) {
    }
    onRequest();
  });
  return notifier;
}

}  // namespace setup
