#include "core/main_module.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdlib>
#include <cstring>

#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "platform/messagebox.h"
#include "platform/run_time_error.h"

namespace monitor {
namespace {

bool QuitWhenIdle() {
  const char* value = std::getenv("TAVIX_QUIT_WHEN_IDLE");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

// Runs a step of the main loop; an error it lets out ends the program.
template <typename Body>
void Unrecoverable(Body body) {
  try {
    body();
  } catch (const platform::RunTimeError& error) {
    UnrecoverableError(error.Number(), error.Line());
  } catch (...) {
    UnrecoverableError(51, 0);
  }
}

}  // namespace

void UnrecoverableError(int number, int line) {
  platform::MessageBox(
      platform::ErrorText("Monitor ERROR", number, line) + "\rPress OK to RESET all",
      "Unrecoverable ERROR", platform::MB_OK | platform::MB_ICONEXCLAMATION);
  platform::EndProgram();
}

int16_t AnyEditorOpen(const MonitorState& state) {
  for (size_t slot = 1; slot < state.EditorSlot.size(); ++slot) {
    if (state.EditorSlot[slot].Free == 0) return -1;
  }
  return 0;
}

void SetTopmost(QWidget& form, int16_t flag) {
  if (form.windowFlags() & Qt::WindowStaysOnTopHint) {
    form.setWindowFlag(Qt::WindowStaysOnTopHint, false);
  }
  const bool activate = form.testAttribute(Qt::WA_ShowWithoutActivating);
  form.setAttribute(Qt::WA_ShowWithoutActivating, true);
  form.show();
  if (flag == -1) form.raise();
  form.setAttribute(Qt::WA_ShowWithoutActivating, activate);
}

void CheckShowTips(MonitorState& state) {
  Monitorform* frame = state.MainForm();
  if (frame == nullptr || frame->WindowState() == 1) return;
  if (!state.Forms.IsBuilt("frmTip")) return;
  if (state.Seams.settings.TipsWanted && state.Seams.settings.TipsWanted()) {
    state.Forms.ShowModal("frmTip");
  }
}

void PollStep(MonitorState& state) {
  // The emulator's link is polled whichever target is active: a link that
  // failed recovers through it.
  state.Emulator().Poll();
  QCoreApplication::processEvents();
}

void StartPollLoop(MonitorState& state) {
  state.PollTimer = std::make_unique<QTimer>();
  QTimer* timer = state.PollTimer.get();
  timer->setSingleShot(true);
  const bool quitWhenIdle = QuitWhenIdle();
  QObject::connect(timer, &QTimer::timeout, timer, [&state, timer, quitWhenIdle] {
    Unrecoverable([&] { PollStep(state); });
    if (quitWhenIdle) {
      if (Monitorform* frame = state.MainForm())
        platform::GuardedCall([&] { frame->CloseFrame(); });
    }
    if (state.MainForm() != nullptr) timer->start(kPollIntervalMs);
  });
  // The first step runs at once, as the loop steps before it sleeps.
  timer->start(0);
}

bool Main(MonitorState& state) {
  bool started = false;
  Unrecoverable([&] {
    state.SimulationRefused = 0;
    state.PanelLoaded = 0;
    state.Forms.Load("Monitorform");
    if (state.Ended || state.MainForm() == nullptr) return;
    Services::Call(state.Seams.workbench.LoadRecentProjects);
    state.Status.ShowReady();
    state.MainForm()->Arrange(platform::MdiFrame::kArrangeIcons);
    CheckShowTips(state);
    if (Monitorform* frame = state.MainForm()) {
      frame->StatusPanel("floodpnl")->SetFloodType(0);
      StartPollLoop(state);
      started = true;
    }
  });
  return started;
}

}  // namespace monitor
