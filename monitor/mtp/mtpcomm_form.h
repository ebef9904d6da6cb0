#pragma once
// The programmer link's settings window "MTP Serial Interface Parameters":
// port, rate and buffered mode, and the four handshake lines shown. The
// panel loads it hidden with itself; its load is the link's start-up (state
// 2, the stored settings read, the link opened when both lists have an
// entry) and it stays loaded until the monitor ends. OK, Cancel and its
// close button only hide it. It takes the port's line events.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

#include "platform/forms.h"

namespace monitor {

class MtpComm;

class MtpCommForm : public platform::Form {
 public:
  explicit MtpCommForm(MtpComm& comm);

  QComboBox *MTP_comCombo, *MTP_baudcombo;
  QCheckBox* MTP_buffcheck;
  QCheckBox *MTP_RTSCheck, *MTP_DTRCheck, *MTP_ctscheck, *MTP_DSRCheck;
  QPushButton *MTP_OK, *MTP_CANCEL, *MTP_RESET;

  void OnLoad() override;
  void OnUnload() override;

  void MTP_OK_Click();
  void MTP_CANCEL_Click();
  void MTP_RESET_Click();
  void MTP_comm_OnComm();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // The four line boxes as the port has them.
  void ShowLines();
  MtpComm& comm_;
};

}  // namespace monitor
