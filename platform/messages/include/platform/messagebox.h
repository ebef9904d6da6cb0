#pragma once
// Message boxes through one function. A program with a GUI shows a box; a
// console program writes a line to standard error and takes the default
// answer; tests install a hook that records the box and answers from a script.
//
// Modules loaded by name (the disassembler, chip modules) carry their own copy
// of this library. So that their boxes reach the hook or the GUI of the
// program that hosts them, a box without a local hook is handed to the
// program's exported presenter `TavixMessageBoxPresenter` (see
// messagebox_presenter.h); every executable linking this library exports it.
#include <functional>
#include <string>
#include <vector>

namespace platform {

// Styles (buttons | icon | default button), as the callers pass them.
enum MessageBoxStyle : unsigned {
  MB_OK = 0x00, MB_OKCANCEL = 0x01, MB_ABORTRETRYIGNORE = 0x02, MB_YESNOCANCEL = 0x03,
  MB_YESNO = 0x04, MB_RETRYCANCEL = 0x05,
  MB_ICONHAND = 0x10, MB_ICONERROR = 0x10, MB_ICONSTOP = 0x10, MB_ICONQUESTION = 0x20,
  MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30, MB_ICONASTERISK = 0x40,
  MB_ICONINFORMATION = 0x40,
  MB_DEFBUTTON1 = 0x000, MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200,
  MB_APPLMODAL = 0x0000, MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000,
};

constexpr unsigned MB_TYPEMASK = 0x0F;
constexpr unsigned MB_ICONMASK = 0xF0;
constexpr unsigned MB_DEFMASK = 0xF00;

// Answers.
enum MessageBoxAnswer : int {
  IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7,
};

using MessageBoxHandler =
    std::function<int(const std::string& text, const std::string& title, unsigned style)>;

int MessageBox(const std::string& text, const std::string& title, unsigned style);

// Installs a handler that replaces every box in this process, including the
// boxes of modules it loads (tests); an empty handler removes it.
void SetMessageBoxHook(MessageBoxHandler handler);

// The answer a box gives without a person: its default button.
int DefaultAnswer(unsigned style);

// The buttons of a style, in the order they are shown.
std::vector<int> MessageBoxButtons(unsigned style);

// The system's plain beep.
void Beep();
// Replaces the beep of this program copy (tests count beeps); empty removes it.
void SetBeepHook(std::function<void()> hook);

// A tone of `frequency` Hz lasting `durationMs` milliseconds. A tone too short
// to be heard as one (under 20 ms) is silent; a longer one is the plain beep.
// Like message boxes, the tones of modules loaded by name go to the hosting
// program's hook.
void BeepTone(int frequency, int durationMs);

// Installs a handler that receives every tone of this process and of the
// modules it loads, instead of sounding it (tests); empty removes it.
using ToneHandler = std::function<void(int frequency, int durationMs)>;
void SetToneHook(ToneHandler handler);

}  // namespace platform
