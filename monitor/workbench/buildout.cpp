#include "workbench/buildout.h"

#include <sys/stat.h>

#include <QKeyEvent>
#include <QTextDocument>

#include "core/monitor_state.h"
#include "platform/filenames.h"
#include "platform/link.h"
#include "platform/profile.h"
#include "workbench/error_line.h"
#include "workbench/filopen.h"
#include "workbench/frmnotepad.h"
#include "workbench/mdinote.h"

namespace monitor {

namespace {

const char* const kApplication = "TAVIX";
const char* const kTopic = "BuildOut";
const char* const kItem = "Monlink";
const char* const kIniFile = "TAVIX.INI";

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

// The first editor in slot order whose file is `name`: the same path without
// regard to case, or the same existing file under another name.
frmNotePad* EditorOfFile(const Workbench& bench, const std::string& name) {
  for (size_t slot = 1; slot < bench.NotePad.size(); ++slot) {
    frmNotePad* editor = bench.NotePad[slot].data();
    if (editor == nullptr || editor->Untitled()) continue;
    if (platform::EqualsNoCase(editor->Path(), name) || SameFile(editor->Path(), name))
      return editor;
  }
  return nullptr;
}

}  // namespace

ErrorListBox::ErrorListBox(QWidget* parent) : QListWidget(parent) {
  setObjectName("ErrorList");
  // A build may list thousands of lines: no layout of every item per line.
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
}

void ErrorListBox::mouseDoubleClickEvent(QMouseEvent* event) {
  QListWidget::mouseDoubleClickEvent(event);
  if (onDblClick) onDblClick();
}

void ErrorListBox::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (onKeyDown) onKeyDown(enter ? 13 : event->key());
  if (!enter) QListWidget::keyPressEvent(event);
}

BuildOut::BuildOut(Workbench& bench)
    : Form("BuildOut"), ErrorList(new ErrorListBox), Monlink(new QLabel), bench_(bench) {
  SetCaption("Output");
  // The list fills the client area through the central widget, on every
  // resize.
  setCentralWidget(ErrorList);
  Monlink->setObjectName("Monlink");
  Monlink->setParent(this);
  Monlink->hide();
  ErrorList->onDblClick = [this] { GotoErrorLine(); };
  ErrorList->onKeyDown = [this](int keyCode) {
    if (keyCode == 13) GotoErrorLine();
  };
  paintTimer_.setSingleShot(true);
  paintTimer_.setInterval(25);
  connect(&paintTimer_, &QTimer::timeout, this, [this] { ErrorList->setUpdatesEnabled(true); });
}

BuildOut::~BuildOut() {
  notifiers_.clear();
  server_.Stop();
}

void BuildOut::OnLoad() {
  if (!Listen())
    AddLine(QString::fromStdString("Build output link not available: " + platform::LinkFolder()));
  show();
}

void BuildOut::OnUnload() {
  notifiers_.clear();
  server_.Stop();
}

bool BuildOut::Listen() {
  const bool listening = server_.Listen(
      kApplication, kTopic, {kItem}, [this](const std::string&, const std::string& text) {
        // The poked bytes, one character each.
        Monlink->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
        Monlink_Change();
        return true;
      });
  WatchDescriptors();
  return listening;
}

void BuildOut::ClearList() {
  ErrorList->clear();
  if (!server_.IsListening() && !Listen())
    AddLine(QString::fromStdString("Build output link not available: " + platform::LinkFolder()));
}

void BuildOut::AddLine(const QString& line) {
  ErrorList->addItem(line);
  if (!paintTimer_.isActive()) {
    ErrorList->setUpdatesEnabled(false);
    paintTimer_.start();
  }
}

QStringList BuildOut::Lines() const {
  QStringList lines;
  for (int i = 0; i < ErrorList->count(); ++i) lines << ErrorList->item(i)->text();
  return lines;
}

void BuildOut::ServeLink() {
  // A notifier that fires while the link is being served is handled after it.
  if (serving_) {
    again_ = true;
    return;
  }
  serving_ = true;
  do {
    again_ = false;
    server_.ProcessEvents(0);
  } while (again_);
  serving_ = false;
  WatchDescriptors();
}

void BuildOut::WatchDescriptors() {
  std::map<int, std::unique_ptr<QSocketNotifier>> kept;
  for (int fd : server_.Descriptors()) {
    auto it = notifiers_.find(fd);
    if (it != notifiers_.end()) {
      kept.emplace(fd, std::move(it->second));
      notifiers_.erase(it);
      continue;
    }
    auto notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(notifier.get(), &QSocketNotifier::activated, this, [this] { ServeLink(); });
    kept.emplace(fd, std::move(notifier));
  }
  // A closed conversation's notifier may be the one whose signal is running.
  for (auto& [fd, notifier] : notifiers_) {
    notifier->setEnabled(false);
    notifier.release()->deleteLater();
  }
  notifiers_ = std::move(kept);
}

int32_t RomSizeValue(const std::string& text) {
  return static_cast<int32_t>(RoundedNumber(text, INT32_MIN, INT32_MAX));
}

void CheckRomSize(MonitorState& state) {
  if (state.ControllerName.empty()) return;
  const std::string value =
      platform::ReadProfileString(state.ProgramPath + kIniFile, "ROM Sizes", state.ControllerName);
  if (value.empty()) return;
  if (state.ProgramSize <= RomSizeValue(value)) return;
  if (auto* out = dynamic_cast<BuildOut*>(state.Forms.Get("BuildOut")))
    out->AddLine(QString::fromStdString("    CAUTION: Code too big for the " +
                                        state.ControllerName + " !!!"));
}

void BuildOut::Monlink_Change() {
  const QString text = Monlink->text();
  AddLine(text);
  if (text.contains("Prog-Size")) {
    bench_.State.ProgramSize = ParseProgramSize(text.toLatin1().toStdString());
    CheckRomSize(bench_.State);
  }
}

void BuildOut::GotoErrorLine() {
  const QListWidgetItem* selected = ErrorList->currentItem();
  if (selected == nullptr || !selected->isSelected()) return;
  const std::optional<ErrorItem> item = ParseErrorItem(selected->text().toLatin1().toStdString());
  if (!item) return;
  frmNotePad* editor = EditorOfFile(bench_, item->fileName);
  if (editor == nullptr) {
    LoadSourceFile(bench_, item->fileName);
    editor = EditorOfFile(bench_, item->fileName);
    if (editor == nullptr) return;
  }
  if (editor->WindowState() == 1) editor->SetWindowState(0);
  editor->ShowWindow();
  editor->Text1->setFocus();
  if (!item->line) return;
  const TextSelection selection = ErrorLineSelection(*editor->Text1->document(), *item->line);
  editor->Text1->SetSelection(selection.start, selection.length);
  editor->Text1->ScrollToSelection();
}

}  // namespace monitor
