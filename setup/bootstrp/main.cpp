// Vanstall: the setup loader. Exit code 0 when the second stage ran, else 1.
// SIGTERM and SIGHUP, the end of the user's session, delete the unpacked files.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>

#include "bootstrap.h"
#include "platform/hooks.h"

namespace {

int g_sessionEnd[2] = {-1, -1};

void OnSessionEnd(int) {
  const char byte = 1;
  ssize_t ignored = write(g_sessionEnd[1], &byte, 1);
  (void)ignored;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (platform::Unattended()) platform::InstallUnattendedBoxes();
  std::vector<std::string> arguments(argv + 1, argv + argc);

  vanstall::Bootstrap bootstrap;
  std::unique_ptr<QSocketNotifier> sessionEnd;
  if (pipe2(g_sessionEnd, O_CLOEXEC) == 0) {
    sessionEnd = std::make_unique<QSocketNotifier>(g_sessionEnd[0], QSocketNotifier::Read);
    QObject::connect(sessionEnd.get(), &QSocketNotifier::activated, [&bootstrap] {
      vanstall::DeleteBootFiles(bootstrap);
      _exit(1);
    });
    struct sigaction action {};
    action.sa_handler = &OnSessionEnd;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
  }
  const bool ok = vanstall::RunBootstrap(bootstrap, arguments);
  vanstall::ExitBootstrap(bootstrap);
  return ok ? 0 : 1;
}
