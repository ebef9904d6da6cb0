// The posted-message queue of this module copy and its window procedures.
#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include <algorithm>
#include <deque>
#include <memory>
#include <unordered_map>

#include "platform/messages.h"
#include "template_dialog.h"

namespace platform {
namespace {

struct Message {
  WindowHandle window;
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
  bool coalesced;  // a notification: waits for the toolkit, takes later bits
};

struct Queue {
  std::deque<Message> pending;
  int posted = 0;  // plain messages among the pending
  std::unordered_map<WindowHandle, WindowProcedure> windows;
  bool drainRequested = false;
};

// Not a static object: a module's detach still posts and unregisters while
// the module's statics are being destroyed; the module releases the queue
// after its detach (ReleaseWindowLayer).
Queue* gQueue = nullptr;

Queue& TheQueue() {
  if (gQueue == nullptr) gQueue = new Queue;
  return *gQueue;
}

bool OnGuiThread() {
  QCoreApplication* app = QCoreApplication::instance();
  return app != nullptr && QThread::currentThread() == app->thread();
}

// Dispatches, from the program's event loop, what was posted outside a run.
class Drainer : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() != QEvent::User) return QObject::event(e);
    TheQueue().drainRequested = false;
    // Only what is pending now: messages posted by the procedures wait for
    // the next turn of the loop.
    for (size_t n = TheQueue().pending.size(); n > 0 && DispatchOneMessage(); --n) {
    }
    return true;
  }
};

void RequestDrain() {
  Queue& queue = TheQueue();
  if (queue.drainRequested || !OnGuiThread()) return;
  static std::unique_ptr<Drainer> drainer;
  if (!drainer) drainer = std::make_unique<Drainer>();
  queue.drainRequested = true;
  QCoreApplication::postEvent(drainer.get(), new QEvent(QEvent::User));
}

bool Enqueue(const Message& m) {
  Queue& queue = TheQueue();
  if (!queue.windows.contains(m.window)) return false;
  queue.pending.push_back(m);
  if (!m.coalesced) {
    ++queue.posted;
    NotifyRunPumpOfPost();
  }
  RequestDrain();
  return true;
}

// Removes pending message `it` and dispatches it.
void Dispatch(Queue& queue, std::deque<Message>::iterator it) {
  const Message m = *it;
  queue.pending.erase(it);
  if (!m.coalesced) --queue.posted;
  auto window = queue.windows.find(m.window);
  if (window == queue.windows.end()) return;
  // A copy: the procedure may unregister its own window.
  WindowProcedure procedure = window->second;
  procedure(m.window, m.message, m.wParam, m.lParam);
}

}  // namespace

void RegisterWindow(WindowHandle window, WindowProcedure procedure) {
  TheQueue().windows[window] = std::move(procedure);
}

void UnregisterWindow(WindowHandle window) {
  Queue& queue = TheQueue();
  queue.windows.erase(window);
  std::erase_if(queue.pending, [&](const Message& m) {
    if (m.window != window) return false;
    if (!m.coalesced) --queue.posted;
    return true;
  });
}

bool IsWindowRegistered(WindowHandle window) { return TheQueue().windows.contains(window); }

bool PostMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return Enqueue({window, message, wParam, lParam, false});
}

// The common case (a box posted again before it was drawn) finds its entry
// among the few pending ones: a short scan and an OR. Only a pending entry's
// window is known to be registered (unregistering drops its entries).
bool PostCoalescedMessage(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  Queue& queue = TheQueue();
  for (Message& m : queue.pending) {
    if (m.coalesced && m.window == window && m.message == message && m.wParam == wParam) {
      m.lParam |= lParam;
      return true;
    }
  }
  return Enqueue({window, message, wParam, lParam, true});
}

bool DispatchOneMessage() {
  Queue& queue = TheQueue();
  if (queue.pending.empty()) return false;
  Dispatch(queue, queue.pending.begin());
  return true;
}

bool DispatchOnePostedMessage() {
  Queue& queue = TheQueue();
  if (queue.posted == 0) return false;
  Dispatch(queue, std::find_if(queue.pending.begin(), queue.pending.end(),
                               [](const Message& m) { return !m.coalesced; }));
  return true;
}

int PendingMessageCount() { return static_cast<int>(TheQueue().pending.size()); }
int PendingPostedMessageCount() { return TheQueue().posted; }

void ProcessNativeEvents() {
  if (OnGuiThread()) QCoreApplication::processEvents();
}

void ReleaseWindowLayer() {
  delete gQueue;
  gQueue = nullptr;
  ReleaseDialogList();
}

}  // namespace platform
