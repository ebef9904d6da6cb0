// The control's looks: what the logic shows, drawn on the panel part by part.
#include "pelto.h"
#include "pelto_panel.h"
#include "pelto_pictures.h"

namespace pelto {
namespace {

PeltoPicture LightPicture(Light light) {
  switch (light) {
    case Light::Red: return PeltoPicture::LightRed;
    case Light::Green: return PeltoPicture::LightGreen;
    default: return PeltoPicture::LightYellow;
  }
}

PeltoPicture ChipPicture(ChipShown chip) {
  switch (chip) {
    case ChipShown::None: return PeltoPicture::ChipNone;
    case ChipShown::Present: return PeltoPicture::ChipPresent;
    default: return PeltoPicture::ChipUnknown;
  }
}

void Enable(std::initializer_list<QWidget*> widgets, bool on) {
  for (QWidget* w : widgets) w->setEnabled(on);
}

void ShowText(QWidget* widget, const std::string& text) {
  const QString shown = QString::fromStdString(text);
  if (auto* box = qobject_cast<QLineEdit*>(widget)) {
    box->setText(shown);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(shown);
  }
}

}  // namespace

void Pelto::RenderLook() {
  PeltoPanel& p = *panel_;
  const PeltoShown& s = logic_.shown;
  const std::initializer_list<QWidget*> chipButtons = {p.Button_Program, p.Button_ReadDevCRC,
                                                       p.Button_LastInstruction};
  switch (s.look) {
    case PanelLook::NotConnected:
      Enable({p.Option_OnLine, p.Option_StdAlone, p.Button_Download}, false);
      Enable({p.Combo_CommSel, p.Combo_BaudSel, p.Button_Browse, p.Button_Connect,
              p.Button_Recalc, p.Text_ActiveFile},
             true);
      Enable(chipButtons, false);
      break;
    case PanelLook::Idle:
      Enable({p.Option_OnLine, p.Option_StdAlone, p.Button_Download, p.Button_Browse,
              p.Button_Connect, p.Button_Recalc, p.Text_ActiveFile},
             true);
      Enable({p.Combo_CommSel, p.Combo_BaudSel}, false);
      Enable(chipButtons, s.chipButtons);
      break;
    case PanelLook::Busy:
      Enable({p.Option_OnLine, p.Option_StdAlone, p.Button_Connect, p.Button_Download,
              p.Button_Recalc, p.Button_Browse, p.Text_ActiveFile, p.Text_InstrSize,
              p.Text_NrOfBlocks, p.Text_BlockSize},
             false);
      Enable(chipButtons, false);
      break;
  }
}

void Pelto::Render(PeltoShown::Part part) {
  PeltoPanel& p = *panel_;
  const PeltoShown& s = logic_.shown;
  using Part = PeltoShown::Part;
  switch (part) {
    case Part::Look:
      RenderLook();
      break;
    case Part::Light:
      ShowPicture(p.Pict_TraficLight, LightPicture(s.light));
      break;
    case Part::Chip:
      ShowPicture(p.Pict_ChipPresent, ChipPicture(s.chip));
      Enable({p.Button_Program, p.Button_ReadDevCRC, p.Button_LastInstruction}, s.chipButtons);
      break;
    case Part::Connected:
      ShowPicture(p.Button_Connect,
                  s.connected ? PeltoPicture::Connected : PeltoPicture::Disconnected);
      break;
    case Part::Status:
      ShowText(p.Text_Status, s.status);
      SetForeColor(p.Text_Status, s.statusColor);
      break;
    case Part::Crc:
      ShowText(p.Text_CRCMaster, s.crcMaster);
      ShowText(p.Text_CRCBox, s.crcBox);
      ShowText(p.Text_CRCDevice, s.crcDevice);
      SetForeColor(p.Text_CRCDevice, s.crcDeviceColor);
      break;
    case Part::LastInstruction:
      ShowText(p.Text_LastInstruction, s.lastInstruction);
      break;
    case Part::Mode:
      p.Option_StdAlone->setChecked(s.standAlone);
      p.Option_OnLine->setChecked(!s.standAlone);
      break;
    case Part::Progress:
      if (p.ProgBar->maximum() != s.progressMax) p.ProgBar->setRange(0, s.progressMax);
      p.ProgBar->setValue(s.progress);
      break;
    case Part::File:
      ShowText(p.Text_Message, s.message);
      SetForeColor(p.Text_Message, s.messageColor);
      ShowText(p.Text_ProgSize, s.progSize);
      break;
    case Part::ConnectButton:
      p.Button_Connect->setEnabled(s.connectEnabled);
      break;
    case Part::SpeedFrames:
      p.Speed->setEnabled(true);
      p.VPP->setEnabled(true);
      break;
    case Part::SpeedChoice:
      p.Selspeed[static_cast<size_t>(s.speed) % p.Selspeed.size()]->setChecked(true);
      break;
  }
}

}  // namespace pelto
