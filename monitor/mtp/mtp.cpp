#include "mtp/mtp.h"

#include <QEvent>
#include <QGridLayout>

#include "core/dialog_answer.h"
#include "core/monitor_state.h"
#include "core/project_source.h"
#include "mtp/mtp_prog.h"
#include "mtp/mtpcomm.h"
#include "platform/controls.h"
#include "platform/filenames.h"
#include "platform/hooks.h"
#include "platform/named.h"
#include "platform/profile.h"
#include "platform/run_time_error.h"
#include "workbench/controller_names.h"

namespace monitor {

using platform::Named;

namespace {

constexpr int kHourglass = 11;
constexpr int kArrow = 1;
// Why Exit does nothing while an operation runs, and why a Connect ended
// without the link.
constexpr const char* kExitWaits = "WARNING - Operation running: Exit when it ends";
constexpr const char* kNotConnected = "ERROR - Programmer not connected";

QLabel* Label(const char* name, const char* text, QWidget* parent) {
  return Named(new QLabel(text, parent), name);
}

void SetColor(QLabel& label, long color) {
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText, platform::ColorFromLong(color));
  label.setPalette(palette);
}

int64_t Number(const QString& text) {
  return WholeNumber(text.toStdString()).value_or(0);
}

}  // namespace

// The status label as the completion waits read and extend it. A notice may
// stand in the label for a while: the waits then go on with the text they
// had, so their dots and their length limit stay as they were.
class LabelStatusLine final : public StatusLine {
 public:
  explicit LabelStatusLine(QLabel& label) : label_(label) {}
  std::string Text() const override {
    return noticed_ ? hidden_ : label_.text().toStdString();
  }
  void SetText(const std::string& text) override {
    if (noticed_) {
      hidden_ = text;
    } else {
      label_.setText(QString::fromStdString(text));
    }
  }
  // Shows `notice` in red until EndNotice.
  void ShowNotice(const QString& notice) {
    if (!noticed_) {
      hidden_ = label_.text().toStdString();
      hiddenColor_ = platform::LongFromColor(label_.palette().color(QPalette::WindowText));
      noticed_ = true;
    }
    SetColor(label_, Mtp::kRed);
    label_.setText(notice);
  }
  // The text and colour the notice stood in for.
  void EndNotice() {
    if (!noticed_) return;
    noticed_ = false;
    SetColor(label_, hiddenColor_);
    label_.setText(QString::fromStdString(hidden_));
  }

 private:
  QLabel& label_;
  bool noticed_ = false;
  std::string hidden_;
  long hiddenColor_ = Mtp::kBlack;
};

Mtp::~Mtp() = default;

Mtp::Mtp(MtpComm& comm, MtpProg& prog) : platform::Form("MTP"), comm_(comm), prog_(prog) {
  SetCaption("MTP Interface");
  auto* body = new QWidget(this);
  Label1 = Label("Label1", "Source File : ", body);
  MTP_BINsource = Named(new QLineEdit(body), "MTP_BINsource");
  Browse = Named(new QPushButton("&Browse", body), "Browse");
  Label2 = Label("Label2", "Target : ", body);
  ComboTargCon = Named(new QComboBox(body), "ComboTargCon");
  ComboTargCon->setEditable(true);
  ComboTargCon->setInsertPolicy(QComboBox::NoInsert);
  Label16 = Label("Label16", "Instruction size (bits) :", body);
  instrbits = Named(new QLineEdit("16", body), "instrbits");
  Label17 = Label("Label17", "Padded to ", body);
  padbits = Named(new QLineEdit("16", body), "padbits");
  Label18 = Label("Label18", "bits", body);
  Label5 = Label("Label5", "Nb Blocks : ", body);
  nbblocks = Named(new QLineEdit(body), "nbblocks");
  Label6 = Label("Label6", "Block Size (Instr. words) : ", body);
  blocksize = Named(new QLineEdit("1024", body), "blocksize");
  Label3 = Label("Label3", "Rom Size  (words): ", body);
  Label4 = Label("Label4", "", body);
  Label15 = Label("Label15", "Operating Mode : ", body);
  Checkonline = Named(new QCheckBox("Online", body), "Checkonline");
  CheckStandalone = Named(new QCheckBox("Standalone", body), "CheckStandalone");
  Check_MH = Named(new QCheckBox("MH", body), "Check_MH");
  Check_ML = Named(new QCheckBox("ML", body), "Check_ML");
  Label8 = Label("Label8", "Checksum", body);
  Label10 = Label("Label10", "Programmer", body);
  Label11 = Label("Label11", "Device", body);
  Label12 = Label("Label12", "Master", body);
  Label13 = Label("Label13", "", body);
  Label14 = Label("Label14", "", body);
  Label9 = Label("Label9", "", body);
  SerDer = Label("SerDer", "", body);
  Label7 = Label("Label7", "Status", body);
  Prgstatus = Label("Prgstatus", "", body);
  status_ = std::make_unique<LabelStatusLine>(*Prgstatus);
  Connection = Named(new QPushButton("&Connect", body), "Connection");
  CommOptions = Named(new QPushButton("Options", body), "CommOptions");
  MTP_DOWNLOAD = Named(new QPushButton("&Download", body), "MTP_DOWNLOAD");
  Progbut = Named(new QPushButton("&Program", body), "Progbut");
  ReadCRC = Named(new QPushButton("Update", body), "ReadCRC");
  CancelBut = Named(new QPushButton("&Exit", body), "CancelBut");

  auto* grid = new QGridLayout(body);
  const std::vector<std::vector<QWidget*>> rows = {
      {Label1, MTP_BINsource, Browse},
      {Label2, ComboTargCon},
      {Label16, instrbits, Label17, padbits, Label18},
      {Label5, nbblocks, Label6, blocksize},
      {Label3, Label4},
      {Label15, Checkonline, CheckStandalone, Check_MH, Check_ML},
      {Label8, Label10, Label11, Label12},
      {SerDer, Label13, Label14, Label9},
      {Label7},
      {Connection, CommOptions, MTP_DOWNLOAD, Progbut, ReadCRC, CancelBut},
  };
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c)
      grid->addWidget(rows[r][c], static_cast<int>(r), static_cast<int>(c));
  }
  // The status text takes the row's width and is cut there: the waits add a
  // dot a second, which must not widen the window.
  grid->addWidget(Prgstatus, 8, 1, 1, -1);
  Prgstatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  setCentralWidget(body);

  const auto guarded = [](auto body) { return [body] { platform::GuardedCall(body); }; };
  const auto onClick = [&](QAbstractButton* button, auto handler) {
    connect(button, &QAbstractButton::clicked, this, guarded(handler));
  };
  onClick(Browse, [this] { Browse_Click(); });
  onClick(Connection, [this] { Connection_Click(); });
  onClick(CommOptions, [this] { CommOptions_Click(); });
  onClick(MTP_DOWNLOAD, [this] { MTP_DOWNLOAD_Click(); });
  onClick(Progbut, [this] { Progbut_Click(); });
  onClick(ReadCRC, [this] { ReadCRC_Click(); });
  onClick(CancelBut, [this] {
    if (Manager() != nullptr) Manager()->Unload(this);
  });
  onClick(Checkonline, [this] { Checkonline_MouseUp(); });
  onClick(CheckStandalone, [this] { CheckStandalone_MouseUp(); });
  onClick(Check_MH, [this] {
    if (Check_MH->isChecked()) Check_ML->setChecked(false);
  });
  onClick(Check_ML, [this] {
    if (Check_ML->isChecked()) Check_MH->setChecked(false);
  });
  for (QLineEdit* box : {instrbits, nbblocks, blocksize})
    connect(box, &QLineEdit::textChanged, this, guarded([this] { ShowRomSize(); }));
  connect(MTP_BINsource, &QLineEdit::textChanged, this, guarded([this] { ShowFileChecksum(); }));
  connect(ComboTargCon, &QComboBox::activated, this, guarded([this] { ComboTargCon_Change(); }));
  connect(ComboTargCon->lineEdit(), &QLineEdit::textEdited, this,
          guarded([this] { ComboTargCon_Change(); }));
  // Browse is on only while the source box has the focus: the other inputs
  // turn it off as they take the focus (the click on Browse itself must not).
  for (QWidget* input : std::initializer_list<QWidget*>{
           MTP_BINsource, ComboTargCon->lineEdit(), instrbits, padbits, nbblocks, blocksize,
           Checkonline, CheckStandalone, Check_MH, Check_ML})
    input->installEventFilter(this);
}

bool Mtp::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) Browse->setEnabled(watched == MTP_BINsource);
  return platform::Form::eventFilter(watched, event);
}

long Mtp::ForeColor(const QLabel& label) {
  return platform::LongFromColor(label.palette().color(QPalette::WindowText));
}

void Mtp::BindLink() {
  comm_.ShowDisconnected = [this] {
    Connection->setText("&Connect");
    for (QCheckBox* box : {Checkonline, CheckStandalone}) {
      box->setChecked(false);
      box->setEnabled(false);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{nbblocks, blocksize, ReadCRC, Progbut,
                                                      MTP_DOWNLOAD})
      w->setEnabled(false);
    CommOptions->setEnabled(true);
  };
  comm_.ShowConnected = [this] {
    Connection->setText("&Disconnect");
    for (QCheckBox* box : {Checkonline, CheckStandalone}) {
      box->setChecked(false);
      box->setEnabled(true);
    }
    nbblocks->setEnabled(true);
    blocksize->setEnabled(true);
    CommOptions->setEnabled(false);
  };
  comm_.ShowTransferButtons = [this] { EnableTransfers(); };
  comm_.ShowProgrammerStatus = [this] { ShowStatusBlock(prog_.ReadProgrammerStatus()); };
}

void Mtp::OnLoad() {
  BindLink();
  for (QWidget* w : std::initializer_list<QWidget*>{Browse, Checkonline, CheckStandalone, nbblocks,
                                                    blocksize, ReadCRC, Progbut, MTP_DOWNLOAD})
    w->setEnabled(false);
  ShowRomSize();
  MonitorState& state = comm_.State();
  if (state.Forms.IsLoaded("MTPCOMM_FORM")) {
    // A link left open by an earlier panel shows as open.
    if (comm_.MTP_comm.PortOpen() && comm_.ProgrammerLinkState == kLinkIdle) comm_.ShowConnected();
  } else {
    state.Forms.Load("MTPCOMM_FORM");
  }
  try {
    for (const std::string& name : ReadControllerNames(state.Target, state.ProgramPath))
      ComboTargCon->addItem(QString::fromStdString(name));
  } catch (const std::exception&) {
  }
  if (!state.SourceFile.empty())
    MTP_BINsource->setText(QString::fromStdString(
        platform::FindOrKeepPath(platform::BaseName(ProjectSourcePath(state)) + ".bin")));
  ComboTargCon->setCurrentText(QString::fromStdString(state.ControllerName));
  ComboTargCon_Change();
  ShowFileChecksum();
  // A link this load opened stays open; state 2 leaves a failed link.
  if (comm_.ProgrammerLinkState == kLinkFailed || !comm_.MTP_comm.PortOpen()) comm_.ProgrammerLinkState = kLinkClosed;
  const LinkSettings stored = ReadMtpCommSettings();
  comm_.ProgrammerBuffered = static_cast<int16_t>(stored.buffered);
  comm_.ProgrammerBaud = stored.baud;
  comm_.ProgrammerPort = static_cast<int16_t>(stored.com + 1);
}

void Mtp::OnQueryUnload(bool& cancel) {
  // The running operation still uses the panel.
  if (MousePointer != kHourglass) return;
  cancel = true;
  status_->ShowNotice(kExitWaits);
}

void Mtp::OnUnload() {
  comm_.ShowDisconnected = comm_.ShowConnected = comm_.ShowTransferButtons = nullptr;
  comm_.ShowProgrammerStatus = nullptr;
}

void Mtp::ComboTargCon_Change() {
  const std::string name = ComboTargCon->currentText().toStdString();
  const std::string value =
      name.empty() ? std::string()
                   : platform::ReadProfileString(comm_.State().ProgramPath + "TAVIX.INI",
                                                 "MTP PARAMS", name);
  // Each field ends at its comma; a field without one is not taken.
  std::vector<QString> fields;
  size_t start = 0;
  for (size_t comma; fields.size() < 3 && (comma = value.find(',', start)) != std::string::npos;
       start = comma + 1)
    fields.push_back(QString::fromStdString(value.substr(start, comma - start)));
  instrbits->setText(fields.size() >= 1 ? fields[0] : "16");
  nbblocks->setText(fields.size() >= 2 ? fields[1] : "2");
  if (fields.size() == 2) blocksize->setText("1024");
  if (fields.size() == 3) blocksize->setText(fields[2]);
}

void Mtp::ShowRomSize() {
  const QString size = " " + QString::number(Number(blocksize->text()) * Number(nbblocks->text()));
  if (size == Label4->text()) return;
  Label4->setText(size);
  ShowFileChecksum();
}

void Mtp::ShowFileChecksum() {
  if (MTP_BINsource->text().isEmpty()) return;
  char buffer[256] = {};
  const int64_t words = std::min<int64_t>(Number(Label4->text().trimmed()), INT32_MAX);
  int32_t result = -1;
  try {
    result = comm_.State().Target.MTPChecksum(16, MTP_BINsource->text().toStdString(), buffer,
                                              static_cast<int32_t>(words));
  } catch (const platform::RunTimeError&) {
    // STDK42XX or its export missing: no checksum to show.
  }
  // A failed checksum shows nothing rather than an old or unwritten one.
  Label9->setText(result < 0 ? QString() : QString::fromLatin1(buffer, 4));
}

void Mtp::Browse_Click() {
  if (MousePointer == kHourglass) return;
  platform::CommonDialog dialog("CommonDialog1", this);
  // It starts where the main window's file dialogs do, never in the program folder.
  if (const platform::CommonDialog* frame = comm_.State().Forms.FrameDialog())
    dialog.Folders = frame->Folders;
  dialog.Filter = "Binary Files (*.bin)|*.bin|All Files (*.*)|*.*";
  dialog.FileName = "";
  dialog.CancelError = true;
  if (!DialogAnswered([&dialog] { dialog.ShowOpen(); })) return;
  MTP_BINsource->setText(QString::fromStdString(dialog.FileName));
  ShowFileChecksum();
}

void Mtp::Connection_Click() {
  if (MousePointer == kHourglass) return;
  if (Connection->text().contains("Connect", Qt::CaseSensitive)) {
    comm_.ToggleProgrammerConnection();
    // A port that would not open, or a link that closed again during the
    // status read, ends the click without the link: say so.
    if (comm_.ProgrammerLinkState != kLinkIdle || !comm_.MTP_comm.PortOpen()) {
      SetStatus(kRed, kNotConnected);
    } else if (Prgstatus->text() == kNotConnected) {
      SetStatus(kBlack, "");
    }
  } else {
    comm_.DisconnectProgrammer();
  }
}

void Mtp::CommOptions_Click() {
  if (MousePointer != kHourglass) comm_.State().Forms.ShowModal("MTPCOMM_FORM");
}

void Mtp::Checkonline_MouseUp() {
  Checkonline->setChecked(true);
  CheckStandalone->setChecked(false);
  EnableTransfers();
  prog_.ProgrammerSend(protocol::CommandFrame(protocol::kCommandOnline));
}

void Mtp::CheckStandalone_MouseUp() {
  Checkonline->setChecked(false);
  CheckStandalone->setChecked(true);
  EnableTransfers();
  prog_.ProgrammerSend(protocol::CommandFrame(protocol::kCommandStandalone));
}

void Mtp::EnableTransfers() {
  const bool on = Checkonline->isChecked();
  for (QPushButton* button : {ReadCRC, Progbut, MTP_DOWNLOAD}) button->setEnabled(on);
}

void Mtp::ShowStatusBlock(const std::optional<protocol::ProgrammerStatus>& block) {
  if (!block) return;
  const protocol::ProgrammerStatus& status = *block;
  if (status.serial) SerDer->setText(QString::fromStdString(*status.serial));
  if (status.standalone) {
    CheckStandalone->setChecked(*status.standalone);
    Checkonline->setChecked(!*status.standalone);
  }
  if (status.programmerSum) Label13->setText(QString::fromStdString(*status.programmerSum));
  if (status.deviceSum) {
    SetColor(*Label14, kBlack);
    Label14->setText(QString::fromStdString(*status.deviceSum));
  }
}

void Mtp::SetStatus(long color, const QString& text) {
  status_->EndNotice();
  SetColor(*Prgstatus, color);
  Prgstatus->setText(text);
}

RomParams Mtp::Params() const {
  return ReadRomParams(instrbits->text().toStdString(), nbblocks->text().toStdString(),
                       blocksize->text().toStdString(), padbits->text().toStdString(),
                       Check_ML->isChecked(), Check_MH->isChecked());
}

void Mtp::FailStep(const QString& text) {
  SetStatus(kRed, text);
  prog_.SendErrorCommand();
}

void Mtp::RunLong(std::initializer_list<QWidget*> disabled, const std::function<void()>& steps) {
  if (MousePointer == kHourglass) return;
  MousePointer = kHourglass;
  platform::WaitCursor hourglass;
  for (QWidget* w : disabled) w->setEnabled(false);
  Checkonline->setEnabled(false);
  CheckStandalone->setEnabled(false);
  prog_.ProgrammerError = 0;
  // In every outcome; a link that closed during the steps keeps its closed look.
  const auto restore = [&] {
    for (QWidget* w : disabled) w->setEnabled(w == Connection);
    if (Connection->text() == "&Disconnect") {
      Checkonline->setEnabled(true);
      CheckStandalone->setEnabled(true);
      EnableTransfers();
    }
    MousePointer = kArrow;
  };
  try {
    steps();
  } catch (const std::exception&) {
    restore();
    throw;
  }
  restore();
}

void Mtp::MTP_DOWNLOAD_Click() {
  RunLong({Connection, Progbut, ReadCRC}, [this] {
    SetStatus(kBlack, "Transfering ROM parameters");
    const RomParams params = Params();
    if (comm_.ProgrammerLinkState == kLinkIdle && !prog_.SendRomParameters(ParameterBlock(params)))
      return FailStep("ERROR - Transfering ROM parameters");
    SetStatus(kBlack, "Transfering ROM code");
    if (!prog_.DownloadRomCode(MTP_BINsource->text().toStdString(), PaddingBytes(params),
                               ImageCount(params)))
      return FailStep("ERROR - Transfering ROM data");
    if (!prog_.RequestProgrammerCrc(*status_)) return FailStep("ERROR - Timeout Calculating CRC");
    ShowStatusBlock(prog_.ReadProgrammerStatus());
    SetStatus(kTeal, "Transfer terminated");
  });
}

void Mtp::Progbut_Click() {
  RunLong({ReadCRC, Connection, MTP_DOWNLOAD}, [this] {
    SetStatus(kBlack, "Programming Device");
    if (comm_.ProgrammerLinkState == kLinkIdle) {
      SetColor(*Label14, kYellow);
      if (!prog_.ProgramDeviceCommand(*status_))
        return FailStep("ERROR - Timeout Programming Device");
    }
    SetStatus(kBlack, "Reading Device CRC");
    if (!prog_.RequestDeviceCrc(*status_)) return FailStep("ERROR - Timeout Reading Device CRC");
    ShowStatusBlock(prog_.ReadProgrammerStatus());
    if (Label13->text() != Label14->text()) {
      SetColor(*Label14, kRed);
      FailStep("ERROR - CRC difference");
      prog_.ProgrammerError = 1;
    } else {
      SetStatus(kTeal, "Device Programmed correctly");
    }
  });
}

void Mtp::ReadCRC_Click() {
  RunLong({Progbut, Connection, MTP_DOWNLOAD}, [this] {
    SetColor(*Label14, kYellow);
    SetStatus(kBlack, "Reading Device CRC");
    if (!prog_.RequestDeviceCrc(*status_)) return FailStep("ERROR - Timeout Reading Device CRC");
    ShowStatusBlock(prog_.ReadProgrammerStatus());
    if (Label13->text() != Label14->text()) {
      SetColor(*Label14, kRed);
      FailStep("WARNING - CRC's different");
      prog_.ProgrammerError = 1;
    } else {
      SetStatus(kTeal, "CRC's Identical");
      SetColor(*Label14, kBlack);
    }
  });
}

}  // namespace monitor
