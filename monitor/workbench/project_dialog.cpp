#include "workbench/project_dialog.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "core/monitor_state.h"
#include "platform/hooks.h"
#include "workbench/controller_names.h"
#include "workbench/filopen.h"
#include "workbench/project.h"
#include "workbench/source_text.h"

namespace monitor {

namespace {

// A project value as the fields show it: its bytes decoded as a source is.
QString Shown(const std::string& value) {
  return DecodeSource(value).text;
}

// Copies a field that differs from what the value shows; true when copied.
bool CopyChanged(const QString& field, std::string& value) {
  if (field == Shown(value)) return false;
  value = field.toStdString();
  return true;
}

}  // namespace

Project::Project(MonitorState& state)
    : Form("Project"),
      Source(new QLineEdit),
      include_path(new QLineEdit),
      output_path(new QLineEdit),
      ComboTargCon(new QComboBox),
      Command1(new QPushButton("OK")),
      Command2(new QPushButton("Cancel")),
      Command3(new QPushButton("&Browse")),
      state_(state) {
  SetCaption("Edit Project");
  Source->setObjectName("Source");
  include_path->setObjectName("include_path");
  output_path->setObjectName("output_path");
  ComboTargCon->setObjectName("ComboTargCon");
  ComboTargCon->setEditable(true);
  ComboTargCon->setInsertPolicy(QComboBox::NoInsert);
  Command1->setObjectName("Command1");
  Command2->setObjectName("Command2");
  Command3->setObjectName("Command3");

  auto* client = new QWidget(this);
  auto* grid = new QGridLayout(client);
  auto* sourceLabel = new QLabel("Main Source File : ");
  sourceLabel->setBuddy(Source);
  auto* targetLabel = new QLabel("Target System : ");
  targetLabel->setBuddy(ComboTargCon);
  grid->addWidget(sourceLabel, 0, 0);
  grid->addWidget(Source, 0, 1);
  grid->addWidget(Command3, 0, 2);
  grid->addWidget(include_path, 1, 1);
  grid->addWidget(output_path, 2, 1);
  grid->addWidget(targetLabel, 3, 0);
  grid->addWidget(ComboTargCon, 3, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(Command1);
  buttons->addWidget(Command2);
  grid->addLayout(buttons, 4, 0, 1, 3);
  setCentralWidget(client);
  SetDialogButtons(Command1, Command2);

  for (QWidget* field : {static_cast<QWidget*>(Source), static_cast<QWidget*>(include_path),
                         static_cast<QWidget*>(output_path), static_cast<QWidget*>(ComboTargCon)}) {
    field->installEventFilter(this);
  }
  if (QLineEdit* comboText = ComboTargCon->lineEdit()) comboText->installEventFilter(this);

  connect(Command1, &QPushButton::clicked, this,
          [this] { platform::GuardedCall([this] { Accept(); }); });
  connect(Command2, &QPushButton::clicked, this,
          [this] { platform::GuardedCall([this] { state_.Forms.Unload(this); }); });
  connect(Command3, &QPushButton::clicked, this,
          [this] { platform::GuardedCall([this] { Browse(); }); });
}

void Project::OnLoad() {
  Source->setText(Shown(state_.SourceFile));
  include_path->setText(Shown(state_.IncludePath));
  output_path->setText(Shown(state_.OutputPath));
  // The list first: an editable combo makes its first item current when it
  // has none, which would replace the project's text.
  ComboTargCon->clear();
  platform::GuardedCall([this] {
    for (const std::string& name : ReadControllerNames(state_.Target, state_.ProgramPath))
      ComboTargCon->addItem(QString::fromStdString(name));
  });
  ComboTargCon->setCurrentIndex(-1);
  ComboTargCon->setEditText(Shown(state_.ControllerName));
  Source->setFocus();
  Command3->setEnabled(true);
}

bool Project::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) Command3->setEnabled(watched == Source);
  return Form::eventFilter(watched, event);
}

void Project::Accept() {
  bool changed = CopyChanged(Source->text(), state_.SourceFile);
  changed |= CopyChanged(include_path->text(), state_.IncludePath);
  changed |= CopyChanged(output_path->text(), state_.OutputPath);
  changed |= CopyChanged(ComboTargCon->currentText(), state_.ControllerName);
  if (changed) state_.ProjectModified = -1;
  state_.Forms.Unload(this);
  if (state_.ProjectModified != 0) AskSaveProject(state_);
}

void Project::Browse() {
  platform::CommonDialog* found = state_.Forms.FrameDialog();
  if (found == nullptr) return;
  platform::CommonDialog& dialog = *found;
  dialog.CancelError = true;
  dialog.DialogTitle.clear();
  dialog.Filter = "Source Files (*.asm)|*.asm|All Files (*.*)|*.*";
  dialog.FilterIndex = 1;
  dialog.FileName.clear();
  if (DialogAnswered([&] { dialog.ShowOpen(); }))
    Source->setText(QString::fromStdString(dialog.FileName));
}

}  // namespace monitor
