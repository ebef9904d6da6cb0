#include "workbench/project.h"

#include "core/monitor_state.h"
#include "core/monitorform.h"
#include "platform/atomic_write.h"
#include "platform/file_errors.h"
#include "platform/hooks.h"
#include "platform/read_file.h"
#include "workbench/filopen.h"
#include "workbench/project_file.h"
#include "workbench/project_lists.h"
#include "workbench/recent_files.h"

namespace monitor {

namespace {

const char* const kAppTitle = "Tavix";
const char* const kProjectFilter = "Project Files (*.prj)|*.prj|All Files (*.*)|*.*";

const RecentList& RecentProjects() {
  static const RecentList list(kRecentProjectsKey, "RecentProj");
  return list;
}

void ShowCaption(MonitorState& state) {
  if (Monitorform* frame = state.MainForm())
    frame->SetCaption(QString::fromStdString(ProjectCaption(state)));
}

// Asks to save a changed project; false when the user cancelled.
bool ProjectMayGo(MonitorState& state) {
  return state.ProjectModified == 0 || AskSaveProject(state) != platform::IDCANCEL;
}

void ClearProject(MonitorState& state) {
  for (std::string* value : {&state.ProjectFile, &state.SourceFile, &state.IncludePath,
                             &state.OutputPath, &state.ControllerName}) {
    value->clear();
  }
  ++state.ProjectSerial;
  state.ProjectModified = 0;
  ShowCaption(state);
}

// The file dialog of the main window; "" when cancelled or without it.
std::string AskFileName(MonitorState& state, const std::string& title, bool save) {
  platform::CommonDialog* found = state.Forms.FrameDialog();
  if (found == nullptr) return "";
  platform::CommonDialog& dialog = *found;
  dialog.CancelError = true;
  dialog.DialogTitle = title;
  dialog.Filter = kProjectFilter;
  dialog.FilterIndex = 1;
  dialog.FileName.clear();
  const bool answered = DialogAnswered([&] {
    if (save)
      dialog.ShowSave();
    else
      dialog.ShowOpen();
  });
  return answered ? dialog.FileName : "";
}

// Writes the project under `name`; a failed write keeps the previous name.
void SaveUnder(MonitorState& state, const std::string& name) {
  if (name.empty()) return;
  std::string previous = state.ProjectFile;
  state.ProjectFile = name;
  if (!WriteProjectFile(state)) state.ProjectFile = std::move(previous);
}

void FileMessage(const std::string& text, int errnoValue, const std::string& path) {
  platform::MessageBox(text + std::to_string(platform::FileErrorNumberOf(errnoValue, path)),
                       kAppTitle, platform::MB_OK);
}

}  // namespace

std::string ProjectCaption(const MonitorState& state) {
  return state.ProjectFile.empty() ? kAppTitle : std::string(kAppTitle) + " " + state.ProjectFile;
}

void NewProject(MonitorState& state) {
  if (!ProjectMayGo(state)) return;
  ClearProject(state);
  state.Forms.Show("Project");
}

void CloseProject(MonitorState& state) {
  if (ProjectMayGo(state)) ClearProject(state);
}

void OpenProjectCommand(MonitorState& state) {
  if (!ProjectMayGo(state)) return;
  const std::string name = AskFileName(state, "Open Project", false);
  if (!name.empty()) OpenProjectFile(state, name);
}

void SaveProject(MonitorState& state) {
  SaveUnder(state, state.ProjectFile.empty() ? AskProjectFileName(state, "Save Project")
                                             : state.ProjectFile);
}

void SaveProjectAs(MonitorState& state) {
  SaveUnder(state, AskProjectFileName(state, "Save Project As...."));
}

void EditorSaveProjectAs(MonitorState& state) {
  if (state.ProjectFile.empty())
    SaveProject(state);
  else
    WriteProjectFile(state);
}

int16_t AskSaveProject(MonitorState& state) {
  const int answer = platform::MessageBox("Save Current Project Definition ?", kAppTitle,
                                          platform::MB_YESNOCANCEL | platform::MB_ICONEXCLAMATION);
  if (answer == platform::IDYES) SaveProject(state);
  return static_cast<int16_t>(answer);
}

std::optional<int16_t> SaveProjectCommand(MonitorState& state) {
  if (state.ProjectModified == 0) return std::nullopt;
  return AskSaveProject(state);
}

std::string AskProjectFileName(MonitorState& state, const std::string& title) {
  return AskFileName(state, title, true);
}

bool OpenProjectFile(MonitorState& state, const std::string& path) {
  std::string bytes;
  int error = 0;
  if (!platform::ReadWholeFile(path, bytes, &error)) {
    FileMessage("Unable to open project file: ", error, path);
    return false;
  }
  platform::WaitCursor wait;
  state.ProjectFile = path;
  std::string* values[kProjectLines] = {
      &state.SourceFile,     &state.IncludePath,    &state.OutputPath,   &state.ControllerName,
      &state.BreakpointList, &state.TracepointList, &state.PanelSettings};
  const std::vector<std::string> lines = ReadProjectLines(bytes);
  for (size_t i = 0; i < lines.size(); ++i) *values[i] = lines[i];
  ++state.ProjectSerial;
  ShowCaption(state);
  state.ProjectModified = 0;
  AddRecentProject(state, state.ProjectFile);
  return true;
}

bool WriteProjectFile(MonitorState& state) {
  if (ProgramGrid(state) != nullptr) {
    CollectBreakpoints(state);
    CollectTracepoints(state);
  }
  const std::string bytes = WriteProjectLines(
      {state.SourceFile, state.IncludePath, state.OutputPath, state.ControllerName,
       state.BreakpointList, state.TracepointList, state.PanelSettings});
  int error = 0;
  bool written;
  {
    platform::WaitCursor wait;
    written = platform::WriteFileAtomically(state.ProjectFile, bytes, &error);
  }
  if (!written) {
    FileMessage("Unable to write project file: ", error, state.ProjectFile);
    return false;
  }
  ShowCaption(state);
  state.ProjectModified = 0;
  AddRecentProject(state, state.ProjectFile);
  return true;
}

void AddRecentProject(MonitorState& state, const std::string& path) {
  if (!UpdateRecentProjectMenu(state, path)) StoreRecentProjects(path);
  LoadRecentProjects(state);
}

bool UpdateRecentProjectMenu(MonitorState& state, const std::string& path) {
  Monitorform* frame = state.MainForm();
  if (frame == nullptr) return false;
  MenuCaptions captions(frame->Menus(), "mnuRecentProj");
  return RecentProjects().MoveToTop(path, captions);
}

void StoreRecentProjects(const std::string& path) {
  RecentProjects().Insert(path);
}

void LoadRecentProjects(MonitorState& state) {
  if (Monitorform* frame = state.MainForm())
    FillRecentMenu(frame->Menus(), "mnuRecentProj", RecentProjects().Entries(), false);
}

}  // namespace monitor
