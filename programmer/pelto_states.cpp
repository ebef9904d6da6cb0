#include "pelto_states.h"

#include "platform/messagebox.h"

namespace pelto {
namespace {

using Part = PeltoShown::Part;

// The clock chosen at connect for 22-bit targets: "300KHz".
constexpr uint8_t kConnectClock = 1;

// A request that moved the panel answers with the state it entered.
short Entered(PanelState state) {
  return static_cast<short>(state);
}

void Exclaim(const char* text) {
  platform::MessageBox(text, "PELTO Programmer", platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

}  // namespace

PeltoStates::PeltoStates(PeltoParams& params, PeltoShown& shown, PeltoLink& link, RomFile& file,
                         const PeltoTimings& timings)
    : params_(params), shown_(shown), link_(link), file_(file), timings_(timings) {
  link_.linkFailed = [this] { Update(PanelState::LinkFailed); };
  link_.general.then = [this] { OnGeneralTimer(); };
  link_.send.then = [this] { OnSendTimer(); };
  link_.Port().SetOnComm([this] { OnComm(); });
}

// The link outlives the state machine by a moment: nothing of it calls back.
PeltoStates::~PeltoStates() {
  link_.linkFailed = nullptr;
  link_.general.then = nullptr;
  link_.send.then = nullptr;
  link_.Port().SetOnComm(nullptr);
}

void PeltoStates::OnGeneralTimer() {
  switch (link_.generalTask) {
    case TimerTask::SocketPoll:
      link_.generalTask = TimerTask::None;
      Update(PanelState::Held, PanelTask::SocketPoll);
      break;
    case TimerTask::AutoProgram:
    case TimerTask::AutoCrc:
      link_.send.Start(timings_.autoStart);
      break;
    default:
      link_.generalTask = TimerTask::None;
      break;
  }
}

void PeltoStates::OnSendTimer() {
  const TimerTask task = link_.generalTask;
  if (task != TimerTask::AutoProgram && task != TimerTask::AutoCrc) return;
  link_.generalTask = TimerTask::None;
  Update(PanelState::Busy,
         task == TimerTask::AutoProgram ? PanelTask::Program : PanelTask::ReadDeviceCrc);
}

void PeltoStates::OnComm() {
  const int event = link_.Port().CommEvent();
  const char* text = event == platform::SerialPort::kEventCtsTimeout
                         ? "CTS Time Out : hardware not responding, reset it"
                     : event == platform::SerialPort::kEventDsrTimeout
                         ? "DSR Time Out : hardware not responding, reset it"
                         : nullptr;
  if (text == nullptr) return;
  Exclaim(text);
  Update(PanelState::LinkFailed);
}

void PeltoStates::RestartPoll() {
  if (pendingAuto_ == AutoAction::Program) {
    link_.StartGeneral(TimerTask::AutoProgram, timings_.poll);
  } else if (pendingAuto_ == AutoAction::DeviceCrc) {
    link_.StartGeneral(TimerTask::AutoCrc, timings_.autoCrcPoll);
  } else {
    link_.StartGeneral(TimerTask::SocketPoll, timings_.poll);
  }
  pendingAuto_ = AutoAction::None;
}

short PeltoStates::Update(PanelState request, PanelTask task) {
  short result = 0;
  switch (state_) {
    case PanelState::Created:
      if (request == PanelState::NotConnected) {
        state_ = PanelState::Idle;
        Update(PanelState::NotConnected);
      }
      break;
    case PanelState::NotConnected:
      if (request == PanelState::Idle) {
        state_ = PanelState::Idle;
        result = Entered(state_);
        Connect();
      }
      break;
    case PanelState::Idle:
      if (request == PanelState::NotConnected) {
        link_.ClosePort();
        ShowLook(PanelLook::NotConnected);
        state_ = PanelState::NotConnected;
      } else if (request == PanelState::Busy) {
        link_.general.Stop();
        ShowLight(Light::Yellow);
        ShowLook(PanelLook::Busy);
        state_ = PanelState::Busy;
        result = Entered(state_);
        RunTask(task);
      } else if (request == PanelState::Held) {
        state_ = PanelState::Held;
        if (task == PanelTask::SocketPoll) {
          SocketPoll();
        } else {
          ShowLook(PanelLook::Busy);
        }
      } else if (request == PanelState::LinkFailed) {
        link_.ClosePort();
        Update(PanelState::NotConnected);
        Exclaim("General Communication problem");
      }
      break;
    case PanelState::Busy:
      if (request == PanelState::Idle) {
        GoIdle(true);
        result = Entered(state_);
      } else if (request == PanelState::LinkFailed) {
        link_.ClosePort();
        state_ = PanelState::Idle;
        Update(PanelState::NotConnected);
      }
      break;
    case PanelState::Held:
      if (request == PanelState::Idle) {
        GoIdle(false);
        result = Entered(state_);
      } else if (request == PanelState::LinkFailed) {
        state_ = PanelState::Idle;
        Update(PanelState::LinkFailed);
      }
      break;
    default:
      break;
  }
  if (params_.instructionSize == 22) ShowSpeedFrames();
  return result;
}

void PeltoStates::ToggleConnection() {
  if (state_ == PanelState::NotConnected) {
    Update(PanelState::Idle);
  } else if (state_ == PanelState::Idle) {
    Update(PanelState::NotConnected);
  }
}

void PeltoStates::WriteWhenIdle(const Bytes& frame) {
  if (state_ == PanelState::Idle) link_.SendFrame(frame);
}

void PeltoStates::Connect() {
  // A port that does not open has already left the panel not connected.
  if (link_.OpenPort() != 0) return;
  if (!link_.SendFrame(protocol::ClearFrame())) {
    Update(PanelState::LinkFailed);
    return;
  }
  if (params_.instructionSize == 22) {
    ShowSpeedFrames();
    link_.SendFrame(protocol::WriteFrame(protocol::kVppAddress, {static_cast<uint8_t>(params_.vppPosition)}));
    shown_.speed = kConnectClock;
    shown_.Show(Part::SpeedChoice);
    link_.SendFrame(protocol::WriteFrame(protocol::kClockAddress, {kConnectClock}));
  }
  if (state_ != PanelState::Idle) return;
  if (link_.RequestDevCRC() == 0 && state_ == PanelState::Idle && link_.GetStatus() == 0) {
    ShowLook(PanelLook::Idle);
    CompareCrc();
    link_.StartGeneral(TimerTask::SocketPoll, timings_.poll);
    return;
  }
  // A programmer that never finishes its CRC is a failed link as well.
  if (state_ == PanelState::Idle) Update(PanelState::LinkFailed);
}

void PeltoStates::SocketPoll() {
  if (link_.LineIsDown()) {
    Update(PanelState::LinkFailed);
    return;
  }
  const ChipSeen chip = link_.ChipTest();
  if (chip == ChipSeen::ReadFailed) {
    Update(PanelState::LinkFailed);
    return;
  }
  shown_.chip = chip == ChipSeen::Empty ? ChipShown::None : ChipShown::Present;
  shown_.chipButtons = chip != ChipSeen::Empty;
  shown_.Show(Part::Chip);
  if (chip == ChipSeen::JustInserted) {
    pendingAuto_ = autoProgram ? AutoAction::Program
                   : autoCrc   ? AutoAction::DeviceCrc
                               : AutoAction::None;
  }
  Update(PanelState::Idle);
}

void PeltoStates::RunTask(PanelTask task) {
  switch (task) {
    case PanelTask::Download: {
      if (link_.UpdateROMParams() == -1 ||
          link_.UpdateROMData(file_.Source(), file_.Converted()) == -1) {
        Exclaim("could not download program");
      } else if (link_.RequestRAMCRC() != -1 && link_.GetStatus() != -1) {
        Update(PanelState::Idle);
      }
      break;
    }
    case PanelTask::Program: {
      ShowDeviceCrcColor(kOlive);
      if (link_.Program() != CommandEnd::Done) {
        // A link that failed while programming has left the panel not
        // connected; a programming that never completed leaves it idle with
        // its failure shown.
        if (state_ == PanelState::Busy) GoIdle(false);
        return;
      }
      state_ = PanelState::Idle;
      Update(PanelState::Busy, PanelTask::ReadDeviceCrc);
      break;
    }
    case PanelTask::ReadDeviceCrc: {
      ShowDeviceCrcColor(kOlive);
      link_.SendFrame(protocol::ClearFrame());
      link_.RequestDevCRC();
      if (link_.GetStatus() != 0) {
        Exclaim("could not read the PELTO Status");
        Update(PanelState::LinkFailed);
      } else {
        ShowDeviceCrcColor(kNavy);
      }
      Update(PanelState::Idle);
      break;
    }
    case PanelTask::LastInstruction: {
      shown_.lastInstruction.clear();
      shown_.Show(Part::LastInstruction);
      link_.RequestLastInstruction();
      if (link_.GetStatus() != 0) Exclaim("could not read Last Instruction");
      Update(PanelState::Idle);
      break;
    }
    default:
      break;
  }
  // Whatever failed, a task never leaves the panel busy.
  if (state_ == PanelState::Busy) Update(PanelState::Idle);
}

void PeltoStates::GoIdle(bool compareCrc) {
  ShowLook(PanelLook::Idle);
  if (compareCrc) CompareCrc();
  RestartPoll();
  state_ = PanelState::Idle;
}

void PeltoStates::CompareCrc() {
  const std::string& master = shown_.crcMaster;
  const bool differ = master != shown_.crcBox || master != shown_.crcDevice;
  ShowLight(differ ? Light::Red : Light::Green);
  shown_.statusColor = differ ? kRed : kBlack;
  shown_.status = differ ? "CRC Error !" : "";
  shown_.Show(Part::Status);
  ShowDeviceCrcColor(differ ? kRed : kNavy);
}

void PeltoStates::ShowLook(PanelLook look) {
  shown_.look = look;
  shown_.chipButtons = look == PanelLook::Idle && params_.chipIsPresent;
  shown_.Show(Part::Look);
  if (look == PanelLook::Busy) return;
  shown_.progress = 0;
  shown_.Show(Part::Progress);
  if (look != PanelLook::NotConnected) return;
  shown_.chip = ChipShown::Unknown;
  shown_.Show(Part::Chip);
}

void PeltoStates::ShowLight(Light light) {
  shown_.light = light;
  shown_.Show(Part::Light);
}

void PeltoStates::ShowDeviceCrcColor(long color) {
  shown_.crcDeviceColor = color;
  shown_.Show(Part::Crc);
}

void PeltoStates::ShowSpeedFrames() {
  shown_.Show(Part::SpeedFrames);
}

}  // namespace pelto
