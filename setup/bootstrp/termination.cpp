#include "termination.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

namespace vanstall {
namespace {

volatile sig_atomic_t g_requested = 0;  // the signal of the last request
int g_wake[2] = {-1, -1};

void OnTerminate(int signal) {
  g_requested = signal;
  const char byte = 1;
  ssize_t ignored = write(g_wake[1], &byte, 1);
  (void)ignored;
}

}  // namespace

TerminationWatch::TerminationWatch(std::function<void()> onRequest) {
  if (pipe2(g_wake, O_CLOEXEC | O_NONBLOCK) == 0) {
    notifier_ = std::make_unique<QSocketNotifier>(g_wake[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [onRequest] {
      char drained[16];
      while (read(g_wake[0], drained, sizeof drained) > 0) {
      }
      onRequest();
    });
  }
  struct sigaction action {};
  action.sa_handler = &OnTerminate;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal, &action, nullptr);
}

TerminationWatch::~TerminationWatch() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  for (int signal : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal, &action, nullptr);
  notifier_.reset();
  for (int& fd : g_wake) {
    if (fd >= 0) close(fd);
    fd = -1;
  }
}

bool TerminationRequested() {
  return g_requested != 0;
}

int TerminationSignal() {
  return g_requested;
}

}  // namespace vanstall
