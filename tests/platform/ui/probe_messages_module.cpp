// A module without a toolkit that shows a message box.
#include "platform/messagebox.h"

extern "C" __attribute__((visibility("default"))) int ProbeMessageBox(const char* text,
                                                                      const char* title,
                                                                      unsigned style) {
  return platform::MessageBox(text, title, style);
}

extern "C" __attribute__((visibility("default"))) void ProbeBeep(int frequency, int durationMs) {
  platform::BeepTone(frequency, durationMs);
}
