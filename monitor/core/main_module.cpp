#include "core/main_module.h"

#include <QCoreApplication>
#include <QLockFile>
#include <QTimer>
#include <cstdlib>
#include <cstring>

#include "core/instance_guard.h"
#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "core/settings/load_settings.h"
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
  bool wanted = false;
  CheckShowTips(frame->WindowState(), [&wanted] { wanted = true; });
  if (wanted) state.Forms.ShowModal("frmTip");
}

void PollStep(MonitorState& state) {
  state.PollTargets();
  QCoreApplication::processEvents();
}

MainModule::MainModule(MonitorState& state) : state_(state) {}

MainModule::~MainModule() = default;

void MainModule::StartPollLoop() {
  pollTimer_ = std::make_unique<QTimer>();
  QTimer* timer = pollTimer_.get();
  timer->setSingleShot(true);
  const bool quitWhenIdle = QuitWhenIdle();
  QObject::connect(timer, &QTimer::timeout, timer, [this, timer, quitWhenIdle] {
    Unrecoverable([&] { PollStep(state_); });
    if (quitWhenIdle) {
      if (Monitorform* frame = state_.MainForm())
        platform::GuardedCall([&] { frame->CloseFrame(); });
    }
    if (state_.MainForm() != nullptr) timer->start(kPollIntervalMs);
  });
  // The first step runs at once, as the loop steps before it sleeps.
  timer->start(0);
}

void MainModule::StopPollLoop() {
  if (pollTimer_) pollTimer_->stop();
}

void MainModule::ReleaseInstanceLock() {
  instanceLock_.reset();
}

bool MainModule::Main() {
  bool started = false;
  Unrecoverable([&] {
    if (!instanceLock_) instanceLock_ = AcquireInstanceLock();
    if (!instanceLock_) {
      platform::MessageBox("The development system is already running", "Tavix",
                           platform::MB_OK | platform::MB_ICONSTOP);
      platform::EndProgram();
      return;
    }
    state_.SimulationRefused = 0;
    state_.PanelLoaded = 0;
    state_.Forms.Load("Monitorform");
    if (state_.MainForm() == nullptr) return;
    Services::Call(state_.Seams.workbench.LoadRecentProjects);
    state_.Status.ShowReady();
    state_.MainForm()->Arrange(platform::MdiFrame::kArrangeIcons);
    CheckShowTips(state_);
    if (Monitorform* frame = state_.MainForm()) {
      frame->StatusPanel("floodpnl")->SetFloodType(0);
      StartPollLoop();
      started = true;
    }
  });
  return started;
}

}  // namespace monitor
