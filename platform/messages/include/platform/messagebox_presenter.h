#pragma once
// The seams behind MessageBox: the program-wide presenter that modules reach
// by name, and the GUI presenter that the Qt part of the library registers.
#include <cstdint>

extern "C" {
// Exported by every executable that links platform_messages: shows the box in
// the program (its hook, its GUI, or standard error) and returns the answer.
int TavixMessageBoxPresenter(const char* text, const char* title, unsigned style);
// The same for tones: the program's beep hook, or the sound.
void TavixTonePresenter(int frequency, int durationMs);
}

namespace platform::detail {

struct GuiMessageBoxes {
  // Returns 0 when the box cannot be shown here (no GUI application, not on
  // its thread); the caller then falls back to standard error.
  int (*show)(const char* text, const char* title, unsigned style);
  void (*beep)();
};

// Registered by the Qt part when it is linked into a program or module.
void SetGuiMessageBoxes(const GuiMessageBoxes* gui);

// What the program itself does with a box: hook, GUI, or standard error.
int PresentMessageBoxHere(const char* text, const char* title, unsigned style);
// What the program itself does with a tone: hook, or sound.
void PresentToneHere(int frequency, int durationMs);

}  // namespace platform::detail
