#pragma once
// The monitor's spine: start-up, the poll step and its loop, and two small
// services of the main module.
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

class QLockFile;
class QTimer;

namespace monitor {

class MonitorState;

// What the main module holds for the life of the program: the one-instance
// lock and the poll loop's timer. The program makes one right after its
// MonitorState, so that it ends before the state does.
class MainModule {
 public:
  explicit MainModule(MonitorState& state);
  ~MainModule();
  MainModule(const MainModule&) = delete;
  MainModule& operator=(const MainModule&) = delete;

  // Start-up up to the poll loop: one instance only (a second shows "The
  // development system is already running" and ends before it reads or
  // writes a setting), the main window loaded, recent projects, "Ready",
  // icons arranged, the tips, the progress panel off; then the poll loop
  // armed on the event loop. False when the program ended during start-up;
  // the caller then does not run the event loop.
  bool Main();

  // The main loop: PollStep, then 50 ms, on a re-armed single-shot timer, so
  // the event loop runs between steps. An error escaping a step ends the
  // program through the "Unrecoverable ERROR" box. With TAVIX_QUIT_WHEN_IDLE=1
  // the first step closes the main window through the normal close path.
  void StartPollLoop();
  // Stops the loop, for a caller that runs the steps itself.
  void StopPollLoop();

  // Lets the one-instance lock go, as the end of the process does.
  void ReleaseInstanceLock();

 private:
  MonitorState& state_;
  std::unique_ptr<QLockFile> instanceLock_;
  std::unique_ptr<QTimer> pollTimer_;
};
constexpr int kPollIntervalMs = 50;

// One pass of the main loop: the halted emulator's state read, the link's
// recovery, then the pending window events. Link failures of the first two
// steps (a state packet not read, an emulator that did not answer) are
// caught: the session is failed already and the recovery runs. Any other
// error goes to the caller.
void PollStep(MonitorState& state);

// "Monitor ERROR 32755 0\rPress OK to RESET all" in a box titled
// "Unrecoverable ERROR", then the end of the program.
void UnrecoverableError(int number, int line);

// -1 when an editor slot from 1 up is in use, else 0.
int16_t AnyEditorOpen(const MonitorState& state);

// Flag -1: the form goes to the top of the normal order and is shown without
// being activated. Any other flag: the form is not topmost, and shown.
void SetTopmost(QWidget& form, int16_t flag);

// The tip window, modal, when the settings ask for it and the main window is
// not minimized.
void CheckShowTips(MonitorState& state);

}  // namespace monitor
