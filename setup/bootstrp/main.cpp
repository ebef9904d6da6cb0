// Vanstall: the setup loader. Exit code 0 when the second stage installed
// (ended with 0), else 1. A termination request (SIGTERM, SIGHUP, SIGINT)
// stops it at its next step or piece of extraction; one seen while a window
// of its own waits ends it there. Either way the unpacked files are deleted
// and the exit code is 1. While the second stage runs, the request is passed
// to it, and its outcome gives the exit code; a request after it has ended
// changes nothing.
#include <signal.h>
#include <unistd.h>

#include <QApplication>

#include "bootstrap.h"
#include "platform/hooks.h"
#include "setup/termination.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (platform::Unattended()) platform::InstallUnattendedBoxes();
  std::vector<std::string> arguments(argv + 1, argv + argc);

  vanstall::Bootstrap bootstrap;
  setup::WatchTerminations();
  const auto watch = setup::NotifyTerminations([&bootstrap] {
    if (bootstrap.secondStage > 0) {
      kill(bootstrap.secondStage, setup::TerminationSignal());
      return;
    }
    vanstall::DeleteBootFiles(bootstrap);
    _exit(1);
  });
  const bool ok = vanstall::RunBootstrap(bootstrap, arguments);
  setup::IgnoreTerminations();
  vanstall::ExitBootstrap(bootstrap);
  return ok ? 0 : 1;
}
