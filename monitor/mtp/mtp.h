#pragma once
// The programming panel "MTP Interface": the controller and its block
// parameters (TAVIX.INI, section "MTP PARAMS"), the code image and its
// checksum, the link to the device programmer, its mode, and the three long
// operations Download, Program and Update with their status texts.
//
// The panel binds the link's look and the protocol's status line to its
// controls while it is loaded. A long operation shows the hourglass and
// ignores the panel's buttons until it ends (Exit says so in the status
// line); then the controls come back as the link's state allows (a link that
// closed during it leaves them off). A Connect that ends without the link
// says so in the status line too.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <memory>
#include <optional>

#include "platform/forms.h"
#include "protocol/status.h"

namespace monitor {

class LabelStatusLine;
class MtpComm;
class MtpProg;
struct RomParams;

class Mtp : public platform::Form {
 public:
  Mtp(MtpComm& comm, MtpProg& prog);
  ~Mtp() override;

  // Colours of the status texts (red + green * 256 + blue * 65536).
  static constexpr long kBlack = 0, kRed = 0x0000FF, kTeal = 0x808000, kYellow = 0x00FFFF;

  QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9;
  QLabel *Label10, *Label11, *Label12, *Label13, *Label14, *Label15, *Label16, *Label17;
  QLabel *Label18, *SerDer, *Prgstatus;
  QLineEdit *MTP_BINsource, *instrbits, *padbits, *nbblocks, *blocksize;
  QComboBox* ComboTargCon;
  QCheckBox *Checkonline, *CheckStandalone, *Check_MH, *Check_ML;
  QPushButton *Browse, *Connection, *CommOptions, *MTP_DOWNLOAD, *Progbut, *ReadCRC, *CancelBut;

  // 11 while a long operation runs, else 1.
  int MousePointer = 1;

  void OnLoad() override;
  void OnQueryUnload(bool& cancel) override;
  void OnUnload() override;

  void ComboTargCon_Change();
  void Browse_Click();
  void Connection_Click();
  void CommOptions_Click();
  void MTP_DOWNLOAD_Click();
  void Progbut_Click();
  void ReadCRC_Click();
  void Checkonline_MouseUp();
  void CheckStandalone_MouseUp();

  // A label's colour as a long value.
  static long ForeColor(const QLabel& label);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BindLink();
  // Label4 from the block size and the blocks; the checksum when it changed.
  void ShowRomSize();
  void ShowFileChecksum();
  // A block that was read; nothing changes without one.
  void ShowStatusBlock(const std::optional<protocol::ProgrammerStatus>& status);
  void SetStatus(long color, const QString& text);
  // The boxes as numbers, read once for an operation.
  RomParams Params() const;
  // The hourglass, `disabled` and the mode boxes off while `steps` run;
  // then the controls as the link allows.
  void RunLong(std::initializer_list<QWidget*> disabled, const std::function<void()>& steps);
  // The transfer buttons as the link and the mode allow.
  void EnableTransfers();
  // Ends a step that failed: the text in red and the error command.
  void FailStep(const QString& text);

  MtpComm& comm_;
  MtpProg& prog_;
  // Prgstatus as the completion waits see it.
  std::unique_ptr<LabelStatusLine> status_;
};

}  // namespace monitor
