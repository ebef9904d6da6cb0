#include "workbench/tools/pelto_host.h"

#include "core/monitor_state.h"
#include "settings/mdl_registry.h"
#include "settings/registry_layout.h"

namespace monitor {

using platform::HKEY_CURRENT_USER;

Pelto::Pelto(const PeltoControlFactory& factory) : Form("Pelto"), control_(factory(this)) {
  SetCaption("PELTO Programmer");
  if (QWidget* panel = control_->Widget()) {
    panel->setObjectName("PeltoCntl1");
    setCentralWidget(panel);
  }
}

void Pelto::OnLoad() {
  if (RegGetSetting(HKEY_CURRENT_USER, kProgrammerKey, "").AsText().empty()) {
    RegCreateKeyPath(HKEY_CURRENT_USER, kProgrammerKey);
  }
  control_->SetPadBytes(kPeltoPadBytes);
  control_->SetInBuffSize(kPeltoBufferSize);
  control_->SetOutBuffSize(kPeltoBufferSize);
  control_->SetActiveMicro(
      RegGetSetting(HKEY_CURRENT_USER, kProgrammerKey, "ActiveMicro").AsText());
  control_->SetActiveFile(RegGetSetting(HKEY_CURRENT_USER, kProgrammerKey, "ActiveFile").AsText());
  // It holds the input until it closes, without a nested event loop.
  setWindowModality(Qt::ApplicationModal);
  show();
}

void Pelto::OnUnload() {
  RegSetSetting(HKEY_CURRENT_USER, kProgrammerKey, "ActiveMicro", RegValue(control_->ActiveMicro()),
                platform::REG_SZ);
  RegSetSetting(HKEY_CURRENT_USER, kProgrammerKey, "ActiveFile", RegValue(control_->ActiveFile()),
                platform::REG_SZ);
}

void BindPeltoHost(MonitorState& state, PeltoControlFactory factory) {
  if (!factory) return;
  state.Forms.Register("Pelto", platform::FormKind::Dialog,
                       [factory = std::move(factory)] { return new Pelto(factory); });
}

}  // namespace monitor
