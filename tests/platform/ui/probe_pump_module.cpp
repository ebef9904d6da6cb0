// A module with its own run loop and its own message queue, as a chip module
// has: runs `rounds` rounds and posts a notification to its window at `postAt`.
#include <cstdint>

#include "platform/messagebox.h"
#include "platform/messages.h"

namespace {
int gWindow;
int64_t gDispatchedAt = -1;
int64_t gRound = 0;
}  // namespace

extern "C" __attribute__((visibility("default"))) int64_t ProbeRun(int64_t rounds, int64_t postAt) {
  platform::RegisterWindow(&gWindow, [](platform::WindowHandle, uint32_t, uintptr_t, intptr_t) {
    gDispatchedAt = gRound;
    return intptr_t{0};
  });
  gDispatchedAt = -1;
  platform::RunPump pump;
  pump.BeginRun();
  for (gRound = 0; gRound < rounds; ++gRound) {
    pump.Pump();
    if (gRound == postAt) platform::PostMessage(&gWindow, platform::WM_USER, 0, 0);
  }
  platform::UnregisterWindow(&gWindow);
  return gDispatchedAt;
}

extern "C" __attribute__((visibility("default"))) int ProbeQtMessageBox(const char* text) {
  return platform::MessageBox(text, "Probe", platform::MB_OKCANCEL);
}
