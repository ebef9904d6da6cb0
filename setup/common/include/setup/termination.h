#pragma once
// Termination requests to the setup programs: SIGTERM, SIGHUP (the end of
// the user's session) and SIGINT (Ctrl-C). The handler only notes the
// request and wakes the event loop; the program acts on it at its next step
// or from its event loop.
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace setup {

// Installs the handlers (before the application object may be made).
void WatchTerminations();
// Ignores every later request: the program's outcome stands.
void IgnoreTerminations();

// Whether a termination was requested.
bool TerminationRequested();
// The signal of the last request (0 when none came).
int TerminationSignal();

// Runs `onRequest` from the event loop after each request, while the
// notifier lives; the application object must exist.
std::unique_ptr<QSocketNotifier> NotifyTerminations(std::function<void()> onRequest);

}  // namespace setup
