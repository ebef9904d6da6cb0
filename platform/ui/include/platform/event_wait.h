#pragma once
// A blocking wait for the toolkit's events, for run-loop states in which only
// an event (a click, a stop request, a posted message) can change anything.
#include <dlfcn.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

namespace platform {

// Processes the toolkit's events, waiting for at least one. Returns at once
// without waiting when a test pump script is installed (scripted runs never
// block) or when this is not the application's GUI thread.
inline void WaitForEvents() {
  using ScriptLookup = const void* (*)();
  auto lookup = reinterpret_cast<ScriptLookup>(dlsym(RTLD_DEFAULT, "TavixRunPumpScript"));
  if (lookup != nullptr && lookup() != nullptr) return;
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || QThread::currentThread() != app->thread()) return;
  QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

}  // namespace platform
