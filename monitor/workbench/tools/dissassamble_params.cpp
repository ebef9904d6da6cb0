#include "workbench/tools/dissassamble_params.h"

#include <sys/stat.h>

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "core/dialog_answer.h"
#include "core/monitor_state.h"
#include "core/project_source.h"
#include "platform/hooks.h"
#include "platform/named.h"
#include "platform/run_time_error.h"
#include "tavix_version.h"
#include "workbench/tools/code_file_commands.h"
#include "workbench/tools/disassembler_binding.h"

namespace monitor {

using platform::Named;

namespace {

struct BrowseChoice {
  const char* title;
  const char* filter;
};

// Browse of each file box, in box order.
constexpr std::array<BrowseChoice, 6> kBrowse = {{
    {"Binary File", "BIN Files (*.bin)|*.bin"},
    {"Assembly source to generate", "ASM Files (*.asm)|*.asm"},
    {"List file to generate", "PRT Files (*.prt)|*.prt"},
    {"Symbol file to generate", "SYM Files (*.sym)|*.sym"},
    {"ROM characteristic file", "STA Files (*.sta)|*.sta"},
    {"Variable cross reference file", "XRF Files (*.xrf)|*.xrf"},
}};

constexpr std::array<const char*, 6> kExtensions = {"bin", "asm", "prt", "sym", "sta", "xrf"};
constexpr std::array<int32_t, 5> kCheckFlags = {kAssemblyOutput, kPrintOutput, kSymbolOutput,
                                                kRomCharacteristicOutput, kCrossReferenceOutput};

// True when both paths name one existing file (links followed).
bool SameExistingFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return !a.empty() && !b.empty() && ::stat(a.c_str(), &first) == 0 &&
         ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev &&
         first.st_ino == second.st_ino;
}

}  // namespace

Dissassamble_params::Dissassamble_params(MonitorState& state)
    : Form("Dissassamble_params"), state_(state) {
  SetCaption("DISSASSEMBLE OPTIONS");
  auto* body = new QWidget(this);
  auto* grid = new QGridLayout(body);
  BINfile = Named(new QLineEdit(body), "BINfile");
  ASMfile = Named(new QLineEdit(body), "ASMfile");
  PRTfile = Named(new QLineEdit(body), "PRTfile");
  SYMfile = Named(new QLineEdit(body), "SYMfile");
  STATfile = Named(new QLineEdit(body), "STATfile");
  XREFfile = Named(new QLineEdit(body), "XREFfile");
  ASMCheck = Named(new QCheckBox("ASM File", body), "ASMCheck");
  PRTCheck = Named(new QCheckBox("PRT File", body), "PRTCheck");
  SYMCheck = Named(new QCheckBox("SYM File", body), "SYMCheck");
  STATCheck = Named(new QCheckBox("STAT File", body), "STATCheck");
  XREFCheck = Named(new QCheckBox("XREF File", body), "XREFCheck");
  Command1 = Named(new QPushButton("Disassemble", body), "Command1");
  Command2 = Named(new QPushButton("Cancel", body), "Command2");
  Command3 = Named(new QPushButton("Browse", body), "Command3");

  grid->addWidget(Named(new QLabel("Bin File", body), "Label1"), 0, 1);
  grid->addWidget(BINfile, 1, 1);
  const auto boxes = FileBoxes();
  const auto checks = CheckBoxes();
  for (size_t i = 0; i < checks.size(); ++i) {
    grid->addWidget(checks[i], static_cast<int>(i) + 2, 0);
    grid->addWidget(boxes[i + 1], static_cast<int>(i) + 2, 1);
  }
  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {Command1, Command2, Command3}) buttons->addWidget(button);
  grid->addLayout(buttons, 7, 0, 1, 2);
  grid->setColumnMinimumWidth(1, 320);
  setCentralWidget(body);
  SetDialogButtons(Command1, Command2);

  // Tab order: the code image first, then each output's box and check box.
  QWidget* previous = BINfile;
  for (size_t i = 0; i < checks.size(); ++i) {
    setTabOrder(previous, boxes[i + 1]);
    setTabOrder(boxes[i + 1], checks[i]);
    previous = checks[i];
  }
  for (QLineEdit* box : boxes) box->installEventFilter(this);
  for (QCheckBox* check : checks) check->installEventFilter(this);

  connect(Command1, &QPushButton::clicked, this,
          [this] { platform::GuardedCall([this] { Command1_Click(); }); });
  connect(Command2, &QPushButton::clicked, this,
          [this] { platform::GuardedCall([this] { Command2_Click(); }); });
  connect(Command3, &QPushButton::clicked, this,
          [this] { platform::GuardedCall([this] { Command3_Click(); }); });
}

std::array<QLineEdit*, 6> Dissassamble_params::FileBoxes() const {
  return {BINfile, ASMfile, PRTfile, SYMfile, STATfile, XREFfile};
}

std::array<QCheckBox*, 5> Dissassamble_params::CheckBoxes() const {
  return {ASMCheck, PRTCheck, SYMCheck, STATCheck, XREFCheck};
}

int32_t Dissassamble_params::Flags() const {
  int32_t flags = 0;
  const auto checks = CheckBoxes();
  for (size_t i = 0; i < checks.size(); ++i) {
    if (checks[i]->isChecked()) flags += kCheckFlags[i];
  }
  return flags;
}

void Dissassamble_params::OnLoad() {
  const std::string prefix = DisassemblyPrefix(state_);
  const auto boxes = FileBoxes();
  for (size_t i = 0; i < boxes.size(); ++i) {
    boxes[i]->setText(QString::fromStdString(prefix + kExtensions[i]));
  }
  for (QCheckBox* check : CheckBoxes()) check->setChecked(true);
  // It holds the input until it closes, without a nested event loop.
  setWindowModality(Qt::ApplicationModal);
  show();
  BINfile->setFocus();
  focusedBox_ = 1;
  Command3->setEnabled(true);
}

bool Dissassamble_params::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    const auto boxes = FileBoxes();
    for (size_t i = 0; i < boxes.size(); ++i) {
      if (watched == boxes[i]) {
        focusedBox_ = static_cast<int>(i) + 1;
        Command3->setEnabled(true);
      }
    }
    for (QCheckBox* check : CheckBoxes()) {
      if (watched == check) {
        focusedBox_ = 0;
        Command3->setEnabled(false);
      }
    }
  }
  return Form::eventFilter(watched, event);
}

void Dissassamble_params::Command1_Click() {
  const int32_t flags = Flags();
  // The proposed assembly file of a lower-case source is the source itself:
  // never let a disassembly replace the program it was built from.
  const std::string assembly = ASMfile->text().toStdString();
  if ((flags & kAssemblyOutput) != 0 && SameExistingFile(assembly, ProjectSourcePath(state_))) {
    platform::MessageBox("The assembly file " + assembly +
                             " is the project's source file. Choose another name for it.",
                         kProductName, platform::MB_OK | platform::MB_ICONEXCLAMATION);
    return;
  }
  try {
    platform::WaitCursor hourglass;
    Disassemble_K42XX(state_.ProgramPath,
                      {BINfile->text().toStdString(), ASMfile->text().toStdString(),
                       PRTfile->text().toStdString(), SYMfile->text().toStdString(),
                       STATfile->text().toStdString(), XREFfile->text().toStdString()},
                      flags);
  } catch (const platform::RunTimeError&) {
    platform::MessageBox("Unable to find the file K42xxDIS.DLL", kProductName, platform::MB_OK);
  }
}

void Dissassamble_params::Command2_Click() {
  close();  // the form manager unloads it
}

void Dissassamble_params::Command3_Click() {
  if (focusedBox_ < 1 || focusedBox_ > 6) return;
  platform::CommonDialog* found = state_.Forms.FrameDialog();
  if (found == nullptr) return;
  QLineEdit* box = FileBoxes()[focusedBox_ - 1];
  platform::CommonDialog& dialog = *found;
  dialog.FilterIndex = 1;
  dialog.CancelError = true;
  dialog.FileName = box->text().toStdString();
  dialog.DialogTitle = kBrowse[focusedBox_ - 1].title;
  dialog.Filter = kBrowse[focusedBox_ - 1].filter;
  if (!DialogAnswered([&dialog] { dialog.ShowOpen(); })) return;
  box->setText(QString::fromStdString(dialog.FileName));
}

}  // namespace monitor
