// Message boxes without a toolkit: the hook, the hand-over to the hosting
// program's presenter, and the standard-error fallback.
#include "platform/messagebox.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/messagebox_presenter.h"

namespace platform {
namespace {

MessageBoxHandler& Hook() {
  static MessageBoxHandler hook;
  return hook;
}

ToneHandler& ToneHook() {
  static ToneHandler hook;
  return hook;
}

const detail::GuiMessageBoxes* gGui = nullptr;

// The program's function `name` in the global scope, when it is not our own
// copy `own` (modules loaded with RTLD_LOCAL keep theirs private).
template <class Fn>
Fn HostFunction(const char* name, Fn own) {
  auto host = reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, name));
  return host == own ? nullptr : host;
}

using Presenter = int (*)(const char*, const char*, unsigned);
Presenter HostPresenter() { return HostFunction<Presenter>("TavixMessageBoxPresenter", &TavixMessageBoxPresenter); }

using TonePresenter = void (*)(int, int);
TonePresenter HostTonePresenter() { return HostFunction<TonePresenter>("TavixTonePresenter", &TavixTonePresenter); }

constexpr int kShortestAudibleMs = 20;

int ToStandardError(const char* text, const char* title, unsigned style) {
  std::string line = title;
  if (!line.empty()) line += ": ";
  for (const char* p = text; *p != '\0'; ++p) line += (*p == '\r' || *p == '\n') ? ' ' : *p;
  line += '\n';
  std::fputs(line.c_str(), stderr);
  std::fflush(stderr);
  return DefaultAnswer(style);
}

}  // namespace

std::vector<int> MessageBoxButtons(unsigned style) {
  switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
  }
}

int DefaultAnswer(unsigned style) {
  std::vector<int> buttons = MessageBoxButtons(style);
  size_t index = (style & MB_DEFMASK) >> 8;
  // A default button beyond the last one falls back to the first.
  return index < buttons.size() ? buttons[index] : buttons.front();
}

void SetMessageBoxHook(MessageBoxHandler handler) { Hook() = std::move(handler); }

int MessageBox(const std::string& text, const std::string& title, unsigned style) {
  if (Hook()) return Hook()(text, title, style);
  if (Presenter host = HostPresenter()) return host(text.c_str(), title.c_str(), style);
  return detail::PresentMessageBoxHere(text.c_str(), title.c_str(), style);
}

std::function<void()>& BeepHook() {
  static std::function<void()> hook;
  return hook;
}

void SetBeepHook(std::function<void()> hook) { BeepHook() = std::move(hook); }

void Beep() {
  if (BeepHook()) {
    BeepHook()();
  } else if (gGui != nullptr) {
    gGui->beep();
  } else if (isatty(STDERR_FILENO)) {
    std::fputc('\a', stderr);
    std::fflush(stderr);
  }
}

void SetToneHook(ToneHandler handler) { ToneHook() = std::move(handler); }

void BeepTone(int frequency, int durationMs) {
  TonePresenter host = ToneHook() ? nullptr : HostTonePresenter();
  if (host != nullptr)
    host(frequency, durationMs);
  else
    detail::PresentToneHere(frequency, durationMs);
}

namespace detail {

void PresentToneHere(int frequency, int durationMs) {
  if (ToneHook()) {
    ToneHook()(frequency, durationMs);
  } else if (durationMs >= kShortestAudibleMs) {
    Beep();
  }
}

void SetGuiMessageBoxes(const GuiMessageBoxes* gui) { gGui = gui; }

int PresentMessageBoxHere(const char* text, const char* title, unsigned style) {
  if (Hook()) return Hook()(text, title, style);
  if (gGui != nullptr) {
    if (int answer = gGui->show(text, title, style); answer != 0) return answer;
  }
  return ToStandardError(text, title, style);
}

}  // namespace detail
}  // namespace platform

extern "C" __attribute__((visibility("default"))) int TavixMessageBoxPresenter(
    const char* text, const char* title, unsigned style) {
  return platform::detail::PresentMessageBoxHere(text, title, style);
}

extern "C" __attribute__((visibility("default"))) void TavixTonePresenter(int frequency, int durationMs) {
  platform::detail::PresentToneHere(frequency, durationMs);
}
