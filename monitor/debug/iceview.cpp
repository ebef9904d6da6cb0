// The emulator control panel: its controls, load, unload, layout and keys.
#include "debug/iceview.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <cmath>

#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "core/run_commands.h"
#include "core/settings/mdl_registry.h"
#include "core/settings/registry_layout.h"
#include "core/target_looks.h"
#include "core/vicectrl.h"
#include "core/view.h"
#include "core/view_clearing.h"
#include "debug/column_scale.h"
#include "debug/display.h"
#include "debug/panel_pictures.h"
#include "debug/view_window.h"
#include "platform/controls.h"
#include "platform/grid_control.h"
#include "platform/hooks.h"
#include "platform/messagebox.h"
#include "platform/named.h"
#include "platform/twips.h"

namespace monitor {

using platform::Named;

namespace {

using platform::HKEY_CURRENT_USER;

constexpr int kButton = 24;  // image buttons, in pixels
constexpr int kLabelHeightTwips = 255;

int32_t Setting(const char* name) {
  return RegGetSetting(HKEY_CURRENT_USER, kCodeWindowKey, name).AsNumber();
}

void Store(const char* name, int32_t value) {
  RegSetSetting(HKEY_CURRENT_USER, kCodeWindowKey, name, RegValue(value), 4);
}

}  // namespace

IceView::IceView(MonitorState& state) : Form("IceView"), state_(state) {
  BuildControls();
  BindProgramGrid();
  BindCodeLoad();
  BindConnect();
  BindRunControl();
  BindRegisterEditing();
  SetKeyPreview(true);
}

void IceView::BuildControls() {
  auto* client = Named(new QWidget(this), "IceViewClient");
  setCentralWidget(client);
  dravstatepnl = new platform::Panel3D("dravstatepnl", client);
  dravstatepnl->setGeometry(0, 0, 640, 112);

  for (const PanelPicture& holder : PanelPictures()) {
    pictures_[holder.name.toStdString()] =
        new platform::PictureHolder(holder.name, holder.picture, client);
  }

  int x = 4;
  const auto image = [&](platform::ImageButton*& field, const char* name, const char* picture) {
    field = new platform::ImageButton(name, dravstatepnl);
    field->setGeometry(x, 4, kButton, kButton);
    field->SetPicture(Picture(picture));
    x += kButton + 2;
  };
  image(playimg, "playimg", "playuppic");
  image(stepimg, "stepimg", "stepuppic");
  image(animimg, "animimg", "animuppic");
  image(stopimg, "stopimg", "stopdispic");
  image(resetimg, "resetimg", "backuppic");
  x += 8;
  image(connectimg, "connectimg", "cntuppic");
  image(Loadcodeimg, "Loadcodeimg", "imgreloadup");
  image(Downloadimg, "Downloadimg", "downloaduppic");
  x += 8;
  image(brkimg, "brkimg", "nbrkuppic");
  image(datimg, "datimg", "ndatuppic");
  image(trcimg, "trcimg", "ntrcuppic");
  image(Intimg, "Intimg", "intuppic");
  x += 8;
  image(intmuximg, "intmuximg", "offdispic");
  image(pintimg, "pintimg", "pintdispic");
  image(tv1muximg, "tv1muximg", "offdispic");
  image(ptv1img, "ptv1img", "ptv1dispic");
  image(tv2muximg, "tv2muximg", "offdispic");
  image(ptv2img, "ptv2img", "ptv2dispic");
  image(tv3muximg, "tv3muximg", "offdispic");
  image(ptv3img, "ptv3img", "ptv3dispic");

  // Registers.
  const auto label = [&](const char* text, int left, int top) {
    auto* caption = new QLabel(text, dravstatepnl);
    caption->setGeometry(left, top, 40, 20);
  };
  const auto box = [&](QLineEdit*& field, const char* name, int left, int top, int width) {
    field = Named(new QLineEdit(dravstatepnl), name);
    field->setGeometry(left, top, width, 20);
  };
  label("Acc", 4, 34);
  box(AccText, "AccText", 34, 34, 28);
  label("Index", 70, 34);
  box(IndexText, "IndexText", 110, 34, 34);
  const auto option = [&](QRadioButton*& field, const char* name, const char* text, int left) {
    field = Named(new QRadioButton(text, dravstatepnl), name);
    field->setGeometry(left, 34, 54, 20);
  };
  option(Pc1option, "Pc1option", "PC 0:", 156);
  box(Pc1Text, "Pc1Text", 210, 34, 40);
  option(Pc2Option, "Pc2Option", "PC 1:", 256);
  box(Pc2Text, "Pc2Text", 310, 34, 40);
  option(Pc3Option, "Pc3Option", "PC 2:", 356);
  box(Pc3text, "Pc3text", 410, 34, 40);

  int checkLeft = 4;
  const auto check = [&](QCheckBox*& field, const char* name, const char* text, int width) {
    field = Named(new QCheckBox(text, dravstatepnl), name);
    field->setGeometry(checkLeft, 60, width, 20);
    checkLeft += width + 4;
  };
  check(CarryCheck, "CarryCheck", "Carry", 60);
  check(CarryIntCheck, "CarryIntCheck", " Carry int", 80);
  check(ZeroCheck, "ZeroCheck", "Zero", 56);
  check(InterruptCheck, "InterruptCheck", " Interrupt", 80);
  check(HaltCheck, "HaltCheck", "Halt", 56);

  int panelLeft = 4;
  const auto indicator = [&](platform::Panel3D*& field, const char* name, int width) {
    field = new platform::Panel3D(name, dravstatepnl);
    field->setGeometry(panelLeft, 86, width, 20);
    panelLeft += width + 4;
  };
  indicator(instrbrkpnl, "instrbrkpnl", 24);
  indicator(databrkpnl, "databrkpnl", 24);
  indicator(trcbrkpnl, "trcbrkpnl", 24);
  indicator(wheelpnl, "wheelpnl", 64);
  wheelpnl->SetCaption("STOP");

  lblBreak = Named(new QLabel("Break", client), "lblBreak");
  lblProgram = Named(new QLabel("Program", client), "lblProgram");
  // A gap after "Break" where its text is wider than the mark columns.
  lblBreak->setContentsMargins(0, 0, 2 * lblBreak->fontMetrics().horizontalAdvance(' '), 0);
  grdProgram = new platform::GridControl("grdProgram", client);
  grdProgram->SetCols(kCodeColumns);
  grdProgram->IndexColumn(3);
  for (int col = 0; col < kCodeColumns; ++col) {
    grdProgram->SetColWidth(col, kCodeColumnDefaults[static_cast<size_t>(col)]);
    exactWidths_.push_back(kCodeColumnDefaults[static_cast<size_t>(col)]);
  }

  timAnimate = new platform::Timer(this);
  timAnimate->setObjectName("timAnimate");
  timAnimate->SetInterval(kAnimateInterval);
  timAnimate->SetEnabled(false);
  RefreshTimer = new platform::Timer(this);
  RefreshTimer->setObjectName("RefreshTimer");
  RefreshTimer->SetEnabled(false);
}

void IceView::LoadCodeWindowSettings() {
  EnsureLayoutKey("code window");
}

void IceView::SetupProgramGrid() {
  std::vector<double> widths;
  for (int col = 0; col < kCodeColumns; ++col) {
    const int32_t width = Setting(kCodeColumnValues[static_cast<size_t>(col)]);
    widths.push_back(width > 0 ? width : kCodeColumnDefaults[static_cast<size_t>(col)]);
    grdProgram->SetTextMatrix(0, col, kCodeColumnHeaders[static_cast<size_t>(col)]);
  }
  ApplyColumns(widths);
}

platform::GridControl* IceView::SearchGrid() const {
  return grdProgram;
}

DebugView::FontControls IceView::FontTargets() const {
  return {grdProgram, grdProgram, {}};
}

Display* IceView::Host() const {
  return state_.Forms.IsLoaded(host_.data()) ? host_.data() : nullptr;
}

void IceView::ApplyColumns(const std::vector<double>& widths) {
  exactWidths_ = widths;
  for (int col = 0; col < kCodeColumns; ++col) {
    const long width = std::lround(widths[static_cast<size_t>(col)]);
    grdProgram->SetColWidth(col, static_cast<int>(std::max(1L, width)));
  }
}

void IceView::OnLoad() {
  Attach(state_);
  TrackActivation();
  if (Monitorform* frame = state_.MainForm()) frame->Menu("mnusearch")->setEnabled(true);
  state_.RunActive = 0;
  state_.PanelLoaded = -1;
  ProjectAtLoad = state_.ProjectSerial;
  if (!state_.ActiveTarget().Open(*this)) return;
  state_.CpuState.word[k42::kTraceLast] = 0x1FFF;
  TraceColumnFlag = 0;
  platform::WaitCursor hourglass;
  ClearRunGroup(state_);
  for (platform::ImageButton* option :
       {intmuximg, pintimg, tv1muximg, ptv1img, tv2muximg, ptv2img, tv3muximg, ptv3img}) {
    option->hide();
    option->setEnabled(false);
  }
  LoadCodeWindowSettings();
  SetCaption(PanelCaption(state_));
  if (!HasSession(state_)) {
    for (platform::ImageButton* hardware : {connectimg, Downloadimg}) {
      hardware->hide();
      hardware->setEnabled(false);
    }
  }
  state_.ActiveTarget().Connect();
  RefreshIndicators(state_);
  ShowDataBreakEnable(state_);
  ShowInterruptRequest(state_);
  ShowTraceEnable(state_);
  ShowProgramBreakEnable(state_);
  state_.ActiveTarget().ShowPeriphery(*this);

  // The stored placement is the normal geometry also of a panel that opens
  // maximized or minimized: it comes back to it when restored.
  RestoreWindowPlacement(*this, Setting);
  PlacePeripheryBeside();
  const std::string fontName =
      RegGetSetting(HKEY_CURRENT_USER, kCodeWindowKey, "fontname").AsText();
  if (!fontName.empty()) {
    const int32_t style = Setting("fontpara");
    grdProgram->SetFontFace(QString::fromStdString(fontName), Setting("fontsize"), (style & 2) != 0,
                            (style & 1) != 0);
  }
  SetupProgramGrid();
  state_.Forms.Load("Watchwin");
  state_.Forms.Load("RAMWin");
}

void* IceView::OpenPeriphery() {
  auto* host = dynamic_cast<Display*>(state_.Forms.Load("Display"));
  host_ = host;
  if (host == nullptr) return nullptr;
  if (Monitorform* frame = state_.MainForm()) host->FrameDisp->setWindowTitle(frame->Caption());
  return static_cast<void*>(host->FrameDisp);
}

void IceView::FitPeriphery() {
  Display* host = Host();
  if (host == nullptr) return;
  using platform::PixelsToTwips;
  host->SetHeight(host->Height() - host->ScaleHeight() + PixelsToTwips(host->FrameDisp->height()));
  host->SetWidth(host->Width() - host->ScaleWidth() + PixelsToTwips(host->FrameDisp->width()));
  host->SetCaption(host->FrameDisp->windowTitle());
}

void* IceView::PeripheryFrame() const {
  Display* host = Host();
  return host != nullptr ? static_cast<void*>(host->FrameDisp) : nullptr;
}

// The periphery window goes beside the panel, not over its buttons.
void IceView::PlacePeripheryBeside() {
  if (Display* host = Host(); host != nullptr && HostsPeriphery(state_)) host->PlaceBeside(*this);
}

void IceView::OnRestored() {
  // Beside the panel's normal geometry too, not under it.
  PlacePeripheryBeside();
}

void IceView::OnQueryUnload(bool& cancel) {
  // Never while a command or a call into the chip module is in progress.
  // The host stays held as long as the panel stays (a main window's close
  // that this refusal abandons has already let it go).
  if (state_.RunActive != 0 || state_.SimulatorBusy != 0) {
    cancel = true;
    state_.HostCloseAllowed = 0;
  }
}

void IceView::OnUnload() {
  Withdraw();
  state_.PanelLoaded = 0;
  if (Monitorform* frame = state_.MainForm()) frame->Menu("mnusearch")->setEnabled(false);
  state_.ActiveTarget().Close(*this);
  for (const char* form : {"Watchwin", "RAMWin", "Tracewin", "FormGoLabel", "FormFind"}) {
    state_.Forms.Unload(form);
  }
  if (state_.SimulationRefused == 0) {
    if (WindowState() == 0) {
      const platform::TwipsRect place = Placement();
      Store("height", place.height);
      Store("width", place.width);
      Store("top", place.top);
      Store("left", place.left);
    }
    Store("windowstate", WindowState());
    for (int col = 0; col < kCodeColumns; ++col) {
      Store(kCodeColumnValues[static_cast<size_t>(col)], grdProgram->ColWidth(col));
    }
  }
  timAnimate->SetEnabled(false);
  state_.ActiveTarget().Release();
  // Inside the main window's close that asked already, its answer holds for
  // the options just handed back: Yes writes the project again, No leaves it.
  const Monitorform* frame = state_.MainForm();
  if (frame == nullptr || !frame->Closing() || state_.CloseAnswer == 0) {
    state_.Seams.SaveProjectCommand();
  } else if (state_.CloseAnswer == platform::IDYES && state_.ProjectModified != 0) {
    Services::Call(state_.Seams.workbench.SaveProject);
  }
}

void IceView::OnResize() {
  using platform::PixelsToTwips;
  using platform::TwipsRect;
  const int inner = ScaleWidth();
  // The exact widths stand for the grid's as long as nobody changed those.
  std::vector<double> widths = exactWidths_;
  double sum = 0;
  for (int col = 0; col < kCodeColumns; ++col) sum += grdProgram->ColWidth(col);
  if (sum <= 0) widths.assign(kCodeColumnDefaults.begin(), kCodeColumnDefaults.end());
  for (int col = 0; col < kCodeColumns; ++col) {
    if (std::max(1L, std::lround(widths[static_cast<size_t>(col)])) != grdProgram->ColWidth(col)) {
      for (int c = 0; c < kCodeColumns; ++c)
        widths[static_cast<size_t>(c)] = grdProgram->ColWidth(c);
      break;
    }
  }
  ApplyColumns(ScaleColumns(widths, grdProgram->ColumnSpace(inner)));

  const TwipsRect status = platform::WidgetTwips(*dravstatepnl);
  const int labelTop = status.top + status.height;
  // Over the mark columns, and never narrower than its own text.
  const int breakWidth = std::max(grdProgram->ColWidth(0) + grdProgram->ColWidth(1) + 30,
                                  platform::PixelsToTwips(lblBreak->sizeHint().width()));
  platform::SetWidgetTwips(*lblBreak, {0, labelTop, breakWidth, kLabelHeightTwips});
  platform::SetWidgetTwips(
      *lblProgram, {breakWidth, labelTop, std::max(0, inner - breakWidth), kLabelHeightTwips});
  const int gridTop = labelTop + kLabelHeightTwips;
  TwipsRect grid = platform::WidgetTwips(*grdProgram);
  grid = {0, gridTop, inner, ScaleHeight() - gridTop > 0 ? ScaleHeight() - gridTop : grid.height};
  platform::SetWidgetTwips(*grdProgram, grid);
}

void IceView::OnKeyDown(int& keyCode, int shift) {
  constexpr int kF5 = platform::vbKeyF1 + 4, kF6 = platform::vbKeyF1 + 5,
                kF8 = platform::vbKeyF1 + 7, kKeyP = 'P', kKeyR = 'R';
  void (*command)(MonitorState&) = nullptr;
  if (keyCode == kF8) {
    command = StepCommand;
  } else if (keyCode == kF5) {
    command = GoCommand;
  } else if (keyCode == kF6) {
    command = AnimateCommand;
  } else if (keyCode == kKeyP || keyCode == platform::vbKeyPause) {
    command = StopCommand;
  } else if ((keyCode == kKeyR || keyCode == platform::vbKeyHome) && shift == platform::kAltMask) {
    command = ResetCommand;
  }
  if (command == nullptr) return;
  // The command's key goes no further: a key sent while a run pumps events
  // must not reach the panel a second time on its way up.
  keyCode = 0;
  PanelCommand(state_, [&] { command(state_); });
}

}  // namespace monitor
