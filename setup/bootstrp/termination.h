#pragma once
// Termination requests: SIGTERM, SIGHUP (the end of the user's session) and
// SIGINT (Ctrl-C). The handler only notes the request and wakes the event
// loop; the loader acts on it at its next step or piece of extraction, never
// starts the second stage after it, removes what it unpacked and exits 1.
// While the second stage runs, the request is passed on to it instead.
#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace vanstall {

class TerminationWatch {
 public:
  // Installs the handlers; `onRequest` runs from the event loop after a request.
  explicit TerminationWatch(std::function<void()> onRequest);
  ~TerminationWatch();
  TerminationWatch(const TerminationWatch&) = delete;
  TerminationWatch& operator=(const TerminationWatch&) = delete;

 private:
  std::unique_ptr<QSocketNotifier> notifier_;
};

// Whether a termination was requested.
bool TerminationRequested();
// The signal of the last request (0 when none came).
int TerminationSignal();

}  // namespace vanstall
