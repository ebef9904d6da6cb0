#include "mtp/mtp_binding.h"

#include "core/monitor_state.h"
#include "mtp/mtp.h"
#include "mtp/mtpcomm_form.h"

namespace monitor {

void BindProgramming(MonitorState& state, Programming& programming) {
  using platform::FormKind;
  state.Forms.Register("MTPCOMM_FORM", FormKind::Dialog,
                       [&programming] { return new MtpCommForm(programming.Comm); });
  state.Forms.Register("MTP", FormKind::Dialog, [&programming] {
    return new Mtp(programming.Comm, programming.Prog);
  });
}

}  // namespace monitor
