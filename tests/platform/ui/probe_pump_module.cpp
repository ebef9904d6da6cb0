// A module with its own run loop and its own message queue, as a chip module
// has: runs `rounds` rounds and posts a notification to its window at `postAt`.
#include <cstdint>

#include "platform/messagebox.h"
#include "platform/messages.h"

namespace {
// At unload, as a chip module does: the layer's queue and dialog list go last.
struct ModuleLifetime {
  ~ModuleLifetime() { platform::ReleaseWindowLayer(); }
} gLifetime;

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

// A periphery-like window of the module: its procedure counts the redraws
// it receives and shows the count and the mask of the last one.
#include <cstdio>

#include "platform/dialog.h"
#include "platform/dialog_items.h"
#include "platform/window.h"

namespace {
const platform::DialogTemplate kProbeDialog{
    "Curpos", 100, 40, nullptr, 8,
    {{1001, platform::ControlKind::Text, "", 2, 2, 96, 10},
     {1002, platform::ControlKind::PushButton, "L", 2, 16, 20, 12}}};
platform::WindowHandle gDialog = nullptr;
int gRedraws = 0;
}  // namespace

extern "C" __attribute__((visibility("default"))) void* ProbeOpenDialog(void* host) {
  gRedraws = 0;
  gDialog = platform::CreateDialog(kProbeDialog, host,
                                   [](platform::WindowHandle d, uint32_t m, uintptr_t, intptr_t l) {
    if (m == platform::WM_USER) {
      char text[32];
      std::snprintf(text, sizeof text, "%d %lX", ++gRedraws, static_cast<unsigned long>(l));
      platform::SetDlgItemText(d, 1001, text);
    } else if (m == platform::WM_COMMAND) {
      platform::SetDlgItemText(d, 1002, "H");
    }
    return intptr_t{1};
  });
  platform::SetWindowText(host, "Probe Periphery");
  platform::ShowWindow(gDialog, platform::SW_SHOWNA);
  return gDialog;
}

extern "C" __attribute__((visibility("default"))) void ProbePostRedraws(int count) {
  for (int i = 0; i < count; ++i) platform::PostCoalescedMessage(gDialog, platform::WM_USER, 3, intptr_t{1} << (i % 12));
}

extern "C" __attribute__((visibility("default"))) bool ProbeCloseDialog() {
  bool closed = platform::DestroyWindow(gDialog);
  gDialog = nullptr;
  return closed;
}
