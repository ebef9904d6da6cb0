// The main window's frame: its controls and status panels, its load (the
// monitor's start-up), its close request and its unload.
#include "core/monitorform.h"

#include <unistd.h>

#include <QHBoxLayout>
#include <QPainter>
#include <QStatusBar>
#include <filesystem>

#include "core/monitor_state.h"
#include "core/settings/load_settings.h"
#include "core/settings/mdl_registry.h"
#include "platform/filenames.h"
#include "platform/messagebox.h"

namespace monitor {

namespace {

// A plain button image for the picture holders the window carries.
QPixmap HolderPicture(int shade) {
  QPixmap picture(16, 16);
  picture.fill(QColor(shade, shade, shade));
  QPainter painter(&picture);
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, 15, 15);
  return picture;
}

// A number stored under the main window's key, or nothing when it is missing.
std::optional<int32_t> StoredNumber(const char* name) {
  const RegValue value = RegGetSetting(platform::HKEY_CURRENT_USER, kMonitorWindowKey, name);
  if (value.IsEmpty()) return std::nullopt;
  return value.AsNumber();
}

void StoreNumber(const char* name, int32_t value) {
  RegSetSetting(platform::HKEY_CURRENT_USER, kMonitorWindowKey, name, RegValue(value),
                platform::REG_DWORD);
}

}  // namespace

std::string WithoutSlash(std::string path) {
  if (!path.empty() && path.back() == '/') path.pop_back();
  return path;
}

int16_t FindFormByCaption(const MonitorState& state, const QString& text, int16_t containing) {
  return platform::FindFormByCaption(state.Forms, text, containing != 0) ? -1 : 0;
}

Monitorform::Monitorform(MonitorState& state)
    : MdiFrame("Monitorform", state.Forms),
      monitorCMD("monitorCMD", this),
      state_(state),
      CMDialog1("CMDialog1", this) {
  SetCaption("Tavix");
  folders_.Preferred = [this] {
    return std::filesystem::path(state_.ProjectFile).parent_path().string();
  };
  CMDialog1.Folders = monitorCMD.Folders = &folders_;
  CMDialog1.Filter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";

  menus_ = platform::BuildMenus(
      MonitorformMenuTable(), this, [this](const std::string& needs) { return NeedsBuilt(needs); },
      [this](const std::string& name, int index) { Command(name, index); });
  SetFrameMenus(menus_.TopLevel());

  QStatusBar* bar = statusBar();
  for (const char* name : {"helppanel", "helptext", "messagepnl", "textpnl"}) {
    bar->addWidget(new platform::Panel3D(name, bar), std::string(name) == "textpnl" ? 1 : 0);
  }
  auto* flood = new platform::Panel3D("floodpnl", bar);
  flood->setMinimumWidth(120);
  bar->addPermanentWidget(flood);
  state_.Status.Attach(StatusPanel("textpnl"), flood);

  // Button images in the up, down and disabled look; the window uses none.
  int shade = 160;
  for (const char* name :
       {"Picture9", "imgFileNewButtonUp", "imgFileNewButtonDn", "imgFileOpenButtonUp",
        "imgFileOpenButtonDn", "imgfilesavebuttonup", "imgfilesavebuttondn", "imgCutButtonUp",
        "imgCutButtonDn", "imgCopyButtonUp", "imgCopyButtonDn", "imgPasteButtonUp",
        "imgPasteButtonDn", "openuppic", "opendwnpic", "opendispic", "saveuppic", "savedwnpic",
        "savedispic"}) {
    new platform::PictureHolder(name, HolderPicture(shade), this);
    shade = shade == 160 ? 200 : 160;
  }
}

platform::Panel3D* Monitorform::StatusPanel(const char* name) const {
  return findChild<platform::Panel3D*>(name);
}

bool Monitorform::NeedsBuilt(const std::string& needs) const {
  size_t start = 0;
  while (start <= needs.size()) {
    size_t end = needs.find('+', start);
    if (end == std::string::npos) end = needs.size();
    const std::string need = needs.substr(start, end - start);
    const bool built =
        state_.Forms.IsKnown(need) ? state_.Forms.IsBuilt(need) : state_.Seams.Bound(need);
    if (!built) return false;
    start = end + 1;
  }
  return true;
}

void Monitorform::OnLoad() {
  // Main loads this window only once it holds the one-instance lock.
  state_.ProgramPath = platform::ProgramPath();
  if (state_.ProgramPath.empty() || state_.ProgramPath.back() != '/') state_.ProgramPath += '/';
  LoadSettings();

  SetWindowState(StoredNumber("windowstate").value_or(0));
  // A normal window is placed before it is shown: the window manager then
  // puts its frame at the stored corner. Right after the show the decoration
  // is not known yet, and a move would put the inner corner there.
  if (WindowState() == 0) {
    // A size that is missing or not positive is not applied.
    if (auto height = StoredNumber("height"); height && *height > 0) {
      SetHeight(*height);
    }
    if (auto width = StoredNumber("width"); width && *width > 0) {
      SetWidth(*width);
    }
    if (auto top = StoredNumber("top")) SetTop(*top);
    if (auto left = StoredNumber("left")) SetLeft(*left);
  }
  Outer()->show();
  // The folder the user started the monitor from, before it leaves it.
  std::error_code error;
  folders_.SetStart(std::filesystem::current_path(error).string());
  if (chdir(WithoutSlash(state_.ProgramPath).c_str()) != 0) {
    // The program folder exists (the program runs from it); nothing to do.
  }
  state_.EditorSlot.assign(1, EditorSlotRecord{});
  Services::Call(state_.Seams.workbench.LoadRecentFileList);
  state_.TargetState = kEmulatorNotConnected;
}

void Monitorform::OnQueryUnload(bool& cancel) {
  state_.CloseAnswer = state_.ProjectModified != 0 ? state_.Seams.AskSaveProject() : int16_t{0};
  if (state_.CloseAnswer == platform::IDCANCEL) {
    cancel = true;
    return;
  }
  if (state_.RunActive == 0) state_.HostCloseAllowed = -1;
}

void Monitorform::OnUnload() {
  if (WindowState() == 0) {
    const platform::TwipsRect place = Placement();
    StoreNumber("height", place.height);
    StoreNumber("width", place.width);
    StoreNumber("top", place.top);
    StoreNumber("left", place.left);
  }
  StoreNumber("windowstate", WindowState());
  state_.Forms.Unload("FormGoLabel");
  state_.Forms.Unload("FormFind");
  // Editors close before the frame unloads; the program ends either way.
  platform::EndProgram();
}

// The main window's own form first, then every other name of the system.
void DeclareMonitorForms(MonitorState& state) {
  using platform::FormKind;
  platform::FormManager& forms = state.Forms;
  forms.Register("Monitorform", FormKind::Frame, [&state] { return new Monitorform(state); });
  for (const char* name : {"IceView", "Display", "Watchwin", "RAMWin", "Tracewin", "BuildOut",
                           "frmNotePad", "Pelto"}) {
    forms.Declare(name, FormKind::MdiChild);
  }
  for (const char* name : {"FormFind", "FormGoLabel", "transferwin", "frmAbout", "frmTip",
                           "Project", "Dissassamble_params", "MTP", "MTPCOMM_FORM"}) {
    forms.Declare(name, FormKind::Dialog);
  }
}

platform::CommonDialog* Monitorform::FrameDialog() {
  return state_.Forms.IsLoaded(this) ? &CMDialog1 : nullptr;
}

Monitorform* MonitorState::MainForm() const {
  return dynamic_cast<Monitorform*>(Forms.Get("Monitorform"));
}

}  // namespace monitor
