#include "debug/tracewin.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStringList>
#include <algorithm>
#include <cstring>
#include <map>

#include "core/checked_file.h"
#include "core/dialog_answer.h"
#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "core/print_listing_line.h"
#include "core/settings/global_numbers.h"
#include "core/target_looks.h"
#include "debug/listing_text.h"
#include "debug/view_window.h"
#include "platform/hooks.h"
#include "platform/messagebox.h"
#include "platform/run_time_error.h"
#include "platform/twips.h"

namespace monitor {
namespace {

using platform::kMenuHidden;
using platform::MenuRow;

const ViewWindowKey& Key() {
  static const ViewWindowKey key("trace window");
  return key;
}

const std::vector<MenuRow>& TracewinMenuTable() {
  static const std::vector<MenuRow> rows = [] {
    std::vector<MenuRow> table = {
        {1, "mnuFile", "&File"},    {2, "mnuFSave", "&Save"},
        {2, "mnuFPrint", "&Print"}, {2, "SEPERATOR1", "-"},
        {2, "mnuFExit", "E&xit"},   {2, "mnuRecentFile", "-", "", kMenuHidden, 0},
    };
    // The recent-file entries: hidden until a caption is filled in.
    for (int i = 1; i <= 4; ++i)
      table.push_back({2, "mnuRecentFile", "Not Used", "", kMenuHidden, i, "LoadSourceFile"});
    const std::vector<MenuRow> rest = {
        {1, "mnuEdit", "&Edit"},
        {2, "mnuFontName", "&Font"},
        {1, "mnuBuild", "&Build"},
        {2, "buildprojmnu", "&Build Project", "", 0, -1, "BuildProject"},
        {2, "mnuAssemble", "&Assemble", "", 0, -1, "LaunchAssembler"},
        {2, "mnudissasm", "&Disassemble", "", 0, -1, "Dissassamble_params"},
        {1, "mnuHelp", "&Help"},
        {2, "mnuindex", "&Contents and Index"},
        {2, "mnuTips", "&Tip of the Day", "", 0, -1, "frmTip"},
        {2, "mnuWebSite", "Corvane on the &Web"},
        {2, "mnuabout", "&About Tavix...", "", 0, -1, "frmAbout"},
    };
    table.insert(table.end(), rest.begin(), rest.end());
    return table;
  }();
  return rows;
}

int32_t& Word(MonitorState& state, int word) {
  return state.CpuState.word[word];
}

}  // namespace

TraceTextBox::TraceTextBox(QWidget* parent) : QPlainTextEdit(parent) {
  setObjectName("Traceout");
  setReadOnly(true);
  setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setContextMenuPolicy(Qt::NoContextMenu);
  setFont(QFont("Courier New", 8));
}

void TraceTextBox::mousePressEvent(QMouseEvent* event) {
  setTextCursor(cursorForPosition(event->position().toPoint()));
  if (event->button() == Qt::LeftButton) QPlainTextEdit::mousePressEvent(event);
  if (onMouseDown) platform::GuardedCall([&] { onMouseDown(event->button()); });
}

void TraceTextBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) QPlainTextEdit::mouseReleaseEvent(event);
  if (onMouseUp) platform::GuardedCall([&] { onMouseUp(event->button()); });
}

Tracewin::Tracewin(MonitorState& state) : Form("Tracewin"), state_(state) {
  SetCaption("Trace Buffer");
  auto* client = new QWidget(this);
  client->setObjectName("TraceClient");
  setCentralWidget(client);

  modifpanel = new QWidget(client);
  modifpanel->setObjectName("modifpanel");
  auto* band = new QHBoxLayout(modifpanel);
  band->setContentsMargins(4, 2, 4, 2);
  band->addWidget(new QLabel("Trace Mode", modifpanel));
  tracemodeCombo = new QComboBox(modifpanel);
  tracemodeCombo->setObjectName("tracemodeCombo");
  band->addWidget(tracemodeCombo);
  Resetbtn = new QPushButton("RESET", modifpanel);
  Resetbtn->setObjectName("Resetbtn");
  readbtn = new QPushButton("READ", modifpanel);
  readbtn->setObjectName("readbtn");
  band->addWidget(Resetbtn);
  band->addWidget(readbtn);
  CyclesBox = new platform::Panel3D("CyclesBox", modifpanel);
  CyclesBox->SetCaption("Nr.of");
  band->addWidget(CyclesBox);
  band->addWidget(new QLabel("cycles", modifpanel));
  band->addStretch();
  auto* header = new QLabel("ADR  PC  ACC C D I", client);
  header->setObjectName("TraceHeader");

  Traceout = new TraceTextBox(client);
  // VScroll1 pages through the records; the text box never scrolls them.
  Traceout->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  VScroll1 = new QScrollBar(Qt::Vertical, client);
  VScroll1->setObjectName("VScroll1");
  VScroll1->setRange(0, kLastTraceIndex);
  // Measures the text's line height; never shown.
  Label3 = new QLabel("Label3", client);
  Label3->setObjectName("Label3");
  Label3->hide();

  const auto guarded = [](auto body) { return [body] { platform::GuardedCall(body); }; };
  QObject::connect(tracemodeCombo, &QComboBox::activated, this,
                   guarded([this] { tracemodeCombo_Click(); }));
  QObject::connect(Resetbtn, &QPushButton::clicked, this, guarded([this] { Resetbtn_Click(); }));
  QObject::connect(readbtn, &QPushButton::clicked, this, guarded([this] { UpdateTraceWindow(); }));
  QObject::connect(VScroll1, &QScrollBar::valueChanged, this, guarded([this] { ShowTrace(); }));
  Traceout->onMouseDown = [this](Qt::MouseButton button) { Traceout_MouseDown(button); };
  Traceout->onMouseUp = [this](Qt::MouseButton button) { Traceout_MouseUp(button); };

  menus_ = platform::BuildMenus(
      TracewinMenuTable(), this,
      [this](const std::string& needs) {
        const Monitorform* frame = state_.MainForm();
        return frame == nullptr || frame->NeedsBuilt(needs);
      },
      [this](const std::string& name, int index) { Command(name, index); });
  SetOwnMenus(menus_.TopLevel());
}

void Tracewin::OnLoad() {
  Key().Ensure();
  tracemodeCombo->clear();
  tracemodeCombo->addItems({"One Time Mode", "Last Instruction Mode"});
  tracemodeCombo->setCurrentIndex(0);
  Word(state_, k42::kTraceWrap) = 0;
  ResetTrace();
  Key().ApplyFont({Traceout});
  Key().Restore(*this);
}

void Tracewin::ResetTrace() {
  if (KeepsOwnMemories(state_))
    ResetTraceBuffer(state_, Trace, 0, Word(state_, k42::kTraceIndex) - 1);
  Trace.TraceReadComplete = 0;
  VScroll1->setRange(0, kLastTraceIndex);
  VScroll1->setValue(1);
  InitTraceMemory(state_);
  ShowTrace();
}

void Tracewin::OnActivate() {
  ShowTrace();
  ScrollTraceView();
}

void Tracewin::OnResize() {
  const int width = centralWidget()->width(), height = centralWidget()->height();
  const int bandHeight = modifpanel->sizeHint().height();
  modifpanel->setGeometry(0, 0, width, bandHeight);
  auto* header = findChild<QLabel*>("TraceHeader");
  header->setFont(Traceout->font());
  const int headerHeight = header->sizeHint().height();
  header->setGeometry(4, bandHeight, width, headerHeight);
  const int top = bandHeight + headerHeight;
  const int bar = VScroll1->sizeHint().width();
  Traceout->setGeometry(0, top, std::max(0, width - bar), std::max(0, height - top));
  VScroll1->setGeometry(std::max(0, width - bar), top, bar, std::max(0, height - top));
  Label3->setFont(Traceout->font());
  const int lineHeight = std::max(1, QFontMetrics(Label3->font()).lineSpacing());
  Trace.TraceVisibleLines = VisibleLinesFor(static_cast<double>(Traceout->height()) / lineHeight);
  VScroll1->setPageStep(std::max<int>(1, Trace.TraceVisibleLines));
}

void Tracewin::OnUnload() {
  Key().Save(*this);
}

void Tracewin::UpdateTraceWindow() {
  if (!UpdateTraceRecords(state_, Trace)) return;
  ShowTrace();
  ScrollTraceView();
  if (Word(state_, k42::kTraceWrap) == -1) Word(state_, k42::kTraceStopped) = 0;
}

void Tracewin::ShowTrace() {
  const int top = TracePageTop(VScroll1->value(), Trace.TraceVisibleLines);
  Page = TracePageText(state_, top, Trace.TraceVisibleLines);
  platform::SetCrLfText(*Traceout, Page);
  Highlight();
}

void Tracewin::ScrollTraceView() {
  const int32_t index = Word(state_, k42::kTraceIndex);
  if (Word(state_, k42::kTraceWrap) == -1) ClearTraceRecords(state_, index);
  VScroll1->setValue(ScrollValueFor(index, Trace.TraceVisibleLines));
}

void Tracewin::Highlight() {
  const Selection selection = HighlightMarks(Trace, Page);
  platform::SetSelection(*Traceout, selection.start, selection.length);
}

void Tracewin::tracemodeCombo_Click() {
  if (tracemodeCombo->isEnabled()) {
    if (tracemodeCombo->currentIndex() == 0) Word(state_, k42::kTraceWrap) = 0;
    if (tracemodeCombo->currentIndex() == 1) Word(state_, k42::kTraceWrap) = -1;
  }
  state_.CpuStateDirty = -1;
  if (KeepsOwnMemories(state_)) return;
  VScroll1->setValue(1);
  InitTraceMemory(state_);
  ShowTrace();
}

void Tracewin::Resetbtn_Click() {
  ResetTrace();
}

void Tracewin::Traceout_MouseDown(Qt::MouseButton button) {
  const int start = platform::SelStart(*Traceout);
  if (button == Qt::LeftButton) {
    SetEndMark(Trace, Page, start, platform::SelLength(*Traceout));
  } else {
    SetStartMark(Trace, Page, start);
  }
}

void Tracewin::Traceout_MouseUp(Qt::MouseButton button) {
  if (button != Qt::LeftButton) {
    SetEndMarkFromRelease(Trace, Page, platform::SelStart(*Traceout),
                          platform::SelLength(*Traceout));
  }
  Highlight();
  CyclesBox->SetCaption(QString::number(CycleCount(Trace.TraceMarkStart, Trace.TraceMarkEnd)));
}

void Tracewin::SaveTraceToFile() {
  platform::CommonDialog* found = state_.Forms.FrameDialog();
  if (found == nullptr) return;
  platform::CommonDialog& dialog = *found;
  dialog.DialogTitle = "Save Trace Buffer to File";
  dialog.Filter = "TRACE Files (*.trc)|*.trc|All Files (*.*)|*.*";
  dialog.FilterIndex = 1;
  dialog.CancelError = true;
  if (!DialogAnswered([&] { dialog.ShowSave(); }) || dialog.FileName.empty()) return;
  TraceFileName = dialog.FileName;
  const std::string& name = TraceFileName;
  int unreported = 0;
  std::unique_ptr<platform::AtomicFile> file = OpenFileChecked(name, 1, 4096, -1, &unreported);
  const auto report = [&name](int error) {
    platform::MessageBox(name + ": " + std::strerror(error), "File Error",
                         platform::MB_OK | platform::MB_ICONEXCLAMATION);
  };
  if (file == nullptr) {
    if (unreported != 0) report(unreported);
    return;
  }
  state_.Status.InitProgress(0, kLastTraceIndex);
  state_.Status.PushStatusText(
      QString::fromStdString("Saving the TRACE buffer to the file " + name));
  QString text;
  text.reserve(k42::kTraceEntries * 96);
  for (int i = 0; i <= kLastTraceIndex; ++i) {
    state_.Status.ShowProgress(static_cast<int16_t>(i));
    text += TraceRow(state_, i, false);
    text += "\r\n";
  }
  const QByteArray bytes = ListingBytes(text);  // the listing's bytes, one for one
  const bool written =
      file->Write({bytes.constData(), static_cast<size_t>(bytes.size())}) && file->Commit();
  state_.Status.PopStatusText();
  state_.Status.ResetProgress();
  if (!written) {
    report(file->Error());
    return;
  }
  SetCaption(QString::fromStdString("TRACE (" + name + ")"));
}

void Tracewin::FontCommand() {
  platform::CommonDialog* found = state_.Forms.FrameDialog();
  if (found == nullptr) return;
  platform::CommonDialog& dialog = *found;
  dialog.CancelError = true;
  dialog.Flags = platform::CommonDialog::kScalableFontFlags;
  const QFont current = Traceout->font();
  dialog.FontName = current.family();
  dialog.FontSize = current.pointSizeF();
  dialog.FontBold = current.bold();
  dialog.FontItalic = current.italic();
  if (!DialogAnswered([&] { dialog.ShowFont(); }) || dialog.FontName.isEmpty()) return;
  QFont chosen(dialog.FontName);
  if (dialog.FontSize > 0) chosen.setPointSizeF(dialog.FontSize);
  chosen.setBold(dialog.FontBold);
  chosen.setItalic(dialog.FontItalic);
  Traceout->setFont(chosen);
  Key().SaveFont(chosen);
  OnResize();
}

void Tracewin::PrintTrace(int first, int last) {
  platform::WaitCursor wait;
  QStringList lines;
  for (int i = std::max(first, 0); i <= std::min(last, kLastTraceIndex); ++i)
    lines << TraceRow(state_, i, false);
  PrintTextLines(lines, Traceout->font(), QStringLiteral("1"));
}

void Tracewin::Command(const std::string& name, int index) {
  // The items that are the main window's commands under another name.
  static const std::map<std::string, std::string> kFrameCommands = {
      {"buildprojmnu", "buildprojmnu"},
      {"mnuAssemble", "assemblermnu"},
      {"mnudissasm", "disassemblermnu"},
      {"mnuTips", "mnuTips"},
      {"mnuabout", "mnuabout"}};
  Monitorform* frame = state_.MainForm();
  if (const auto command = kFrameCommands.find(name); command != kFrameCommands.end()) {
    if (frame != nullptr) frame->Command(command->second, -1);
  } else if (name == "mnuRecentFile") {
    const WorkbenchServices& bench = state_.Seams.workbench;
    const QAction* item = menus_.Item(platform::MenuItemName("mnuRecentFile", index));
    if (bench.LoadSourceFile && item != nullptr) bench.LoadSourceFile(item->text().toStdString());
    Services::Call(bench.LoadRecentFileList);
  } else if (name == "mnuFSave") {
    SaveTraceToFile();
  } else if (name == "mnuFPrint") {
    if (auto* print = dynamic_cast<TracePrint*>(state_.Forms.Show("TracePrint")))
      print->SetTraceWindow(this);
  } else if (name == "mnuFExit") {
    if (frame != nullptr) frame->CloseFrame();
  } else if (name == "mnuFontName") {
    FontCommand();
  } else if (name == "mnuindex") {
    ShowHelp(state_);
  } else if (name == "mnuWebSite") {
    OpenWebSite(state_);
  }
}

TracePrint::TracePrint(MonitorState& state) : Form("TracePrint"), state_(state) {
  SetCaption("Print Trace Buffer");
  auto* client = new QWidget(this);
  setCentralWidget(client);
  auto* grid = new QGridLayout(client);
  startadr = new QLineEdit(client);
  startadr->setObjectName("startadr");
  endadr = new QLineEdit(client);
  endadr->setObjectName("endadr");
  Printbtn = new QPushButton("&Print", client);
  Printbtn->setObjectName("Printbtn");
  Cancelbtn = new QPushButton("&Cancel", client);
  Cancelbtn->setObjectName("Cancelbtn");
  grid->addWidget(new QLabel("Start Address  (Hex): ", client), 0, 0);
  grid->addWidget(startadr, 0, 1);
  grid->addWidget(new QLabel("End Address (Hex) : ", client), 1, 0);
  grid->addWidget(endadr, 1, 1);
  grid->addWidget(Printbtn, 2, 0);
  grid->addWidget(Cancelbtn, 2, 1);
  SetDialogButtons(Printbtn, Cancelbtn);
  QObject::connect(Printbtn, &QPushButton::clicked, this,
                   [this] { platform::GuardedCall([this] { Printbtn_Click(); }); });
  QObject::connect(Cancelbtn, &QPushButton::clicked, this, [this] {
    platform::GuardedCall([this] { state_.Forms.Unload("TracePrint"); });
  });
}

void TracePrint::OnLoad() {
  show();
}

void TracePrint::Printbtn_Click() {
  const int32_t first = HexToNumber(startadr->text().toStdString(), 0);
  const int32_t last = HexToNumber(endadr->text().toStdString(), 0);
  if (first < 0 || first > last || last > kLastTraceIndex) {
    platform::MessageBox("Invalid address selection", "Tavix", platform::MB_OK);
    return;
  }
  if (state_.Forms.IsLoaded(trace_.data())) trace_->PrintTrace(first, last);
  state_.Forms.Unload("TracePrint");
}

void RegisterTraceForms(MonitorState& state) {
  using platform::FormKind;
  state.Forms.Register("Tracewin", FormKind::MdiChild, [&state] { return new Tracewin(state); });
  state.Forms.Register("TracePrint", FormKind::Dialog, [&state] { return new TracePrint(state); });
  state.Seams.debug.UpdateTraceWindow = [&state] { UpdateTraceWindow(state); };
}

void UpdateTraceWindow(MonitorState& state) {
  if (auto* trace = dynamic_cast<Tracewin*>(state.Forms.Get("Tracewin")))
    trace->UpdateTraceWindow();
}

void LoadTraceWindow(MonitorState& state) {
  if (state.Forms.Get("Tracewin") == nullptr) state.Forms.Load("Tracewin");
}

}  // namespace monitor
