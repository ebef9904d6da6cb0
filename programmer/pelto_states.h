#pragma once
// The panel's state machine: which controls are enabled and what runs next.
// The general time-out paces the socket poll once a poll period while idle
// and chains the automatic program and CRC steps. A plain class: the
// control's widget holds it and tests drive it on their own.
#include "pelto_link.h"
#include "pelto_params.h"
#include "pelto_rom_file.h"
#include "pelto_shown.h"
#include "pelto_timings.h"

namespace pelto {

// The panel's states. A request names the state asked for, or a failed link.
enum class PanelState : short {
  NotConnected = 0,
  Idle = 1,
  Busy = 2,  // running a task
  Held = 3,  // polling the socket, or held by a caller
  LinkFailed = 4,
  Created = 255,
};

// What a request runs: the busy state's tasks and the held state's poll.
enum class PanelTask : short {
  None = 0,
  Download = 1,
  Program = 2,
  ReadDeviceCrc = 3,
  SocketPoll = 5,
  LastInstruction = 6,
};

class PeltoStates {
 public:
  PeltoStates(PeltoParams& params, PeltoShown& shown, PeltoLink& link, RomFile& file,
              const PeltoTimings& timings);
  ~PeltoStates();
  PeltoStates(const PeltoStates&) = delete;
  PeltoStates& operator=(const PeltoStates&) = delete;

  // Acts on the current state; 0, 1 or 2.
  short Update(PanelState request, PanelTask task = PanelTask::None);
  PanelState State() const { return state_; }
  // The Connect button: connects when not connected, disconnects when idle.
  void ToggleConnection();
  // Writes a frame only while idle.
  void WriteWhenIdle(const Bytes& frame);

  // Set by the automation boxes: what a chip just inserted starts.
  bool autoProgram = false, autoCrc = false;

 private:
  enum class AutoAction { None, Program, DeviceCrc };

  void OnGeneralTimer();
  void OnSendTimer();
  void OnComm();
  void RestartPoll();
  void Connect();
  void SocketPoll();
  void RunTask(PanelTask task);
  void GoIdle(bool compareCrc);
  void CompareCrc();
  void ShowLook(PanelLook look);
  void ShowLight(Light light);
  void ShowDeviceCrcColor(long color);
  void ShowSpeedFrames();

  PeltoParams& params_;
  PeltoShown& shown_;
  PeltoLink& link_;
  RomFile& file_;
  const PeltoTimings& timings_;
  PanelState state_ = PanelState::Created;
  AutoAction pendingAuto_ = AutoAction::None;
};

}  // namespace pelto
