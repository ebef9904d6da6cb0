#pragma once
// The emulator link's settings window "ICE Serial Interface Parameters": the
// COM port, the rate and the buffered mode, the handshake lines, and the
// emulator's reset. It is loaded hidden on the link's first use (its load
// opens the port) and lives to the end of the program; OK, Cancel and its
// close button only hide it. Its communication-event handler is the port's.
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <cstdint>

#include "platform/forms.h"

namespace monitor {

class EmulatorLink;
class MonitorState;

class Transferwin : public platform::Form {
 public:
  Transferwin(MonitorState& state, EmulatorLink& link);

  // The window while it is loaded, else null.
  static Transferwin* Loaded(const MonitorState& state);

  QComboBox* comCombo;
  QComboBox* baudcombo;
  QCheckBox* Buffcheck;
  QCheckBox *DTRCheck, *RTSCheck, *CTSCheck, *DSRCheck;
  QPushButton *OKCommand, *CancelCommand, *resetcommand;

  void OnLoad() override;
  void OnUnload() override;

  // The DTR and RTS boxes ticked after the port opened.
  void TickOutputLines();

  // The events, as the controls raise them; each catches its own errors.
  void OKCommand_Click();
  void CancelCommand_Click();
  void resetcommand_Click();
  void Comm_OnComm();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ReportPortError(int number);
  void Reopen();

  MonitorState& state_;
  EmulatorLink& link_;
  int loadedCom_ = -1;  // the entries selected at load
  int loadedBaud_ = -1;
};

}  // namespace monitor
