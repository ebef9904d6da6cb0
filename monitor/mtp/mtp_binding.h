#pragma once
// The programming subsystem's state beside MonitorState: the programmer
// link (module MTPCOMM_) and its protocol (module MTP_PROG), made by the
// program next to the monitor's state. BindProgramming registers the panel
// "MTP" and the settings window "MTPCOMM_FORM", which enables the editors'
// Emulation > MTP.
#include "mtp/mtp_prog.h"
#include "mtp/mtpcomm.h"

namespace monitor {

class MonitorState;

struct Programming {
  explicit Programming(MonitorState& state) : Comm(state), Prog(Comm) {}
  MtpComm Comm;
  MtpProg Prog;
};

void BindProgramming(MonitorState& state, Programming& programming);

}  // namespace monitor
