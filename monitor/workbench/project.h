#pragma once
// The project: the commands of the Project menus, the project file's read
// and write, the main window's caption and the recent-project list.
//
// The monitor holds one project in MonitorState (ProjectFile and the seven
// values of the file, see project_file.h). ProjectModified is set by the
// project dialog and by the control panel, and cleared by every successful
// open and write, by New and by Close. Message boxes are titled "Tavix".
#include <cstdint>
#include <optional>
#include <string>

namespace monitor {

class MonitorState;

inline constexpr const char* kRecentProjectsKey = "SOFTWARE\\Corvane\\Tavix\\Recent Projects";

// Project > New: asks to save a changed project (Cancel stops), clears the
// project and shows the project dialog. Project > Close: the same without
// the dialog. Both keep the mark lists and PanelSettings.
void NewProject(MonitorState& state);
void CloseProject(MonitorState& state);
// Project > Open: asks to save (Cancel stops), "Open Project", then opens.
void OpenProjectCommand(MonitorState& state);
// Project > Save: writes under ProjectFile, asking "Save Project" for a name
// when there is none. Project > Save As: "Save Project As...." first. A
// cancelled dialog writes nothing; a failed write keeps the previous name.
void SaveProject(MonitorState& state);
void SaveProjectAs(MonitorState& state);
// The editors' Project > Save As: writes under ProjectFile at once, or acts
// as SaveProject when there is no ProjectFile.
void EditorSaveProjectAs(MonitorState& state);

// "Save Current Project Definition ?" (Yes, No, Cancel): Yes saves first.
// The answer: 6, 7 or 2.
int16_t AskSaveProject(MonitorState& state);
// When the project changed: AskSaveProject's answer; otherwise nothing.
std::optional<int16_t> SaveProjectCommand(MonitorState& state);
// The main window's Save dialog with the project filter: the name, or ""
// when cancelled.
std::string AskProjectFileName(MonitorState& state, const std::string& title);

// Reads the project file: ProjectFile and up to seven values, caption,
// unchanged, newest recent project. A file that cannot be read shows
// "Unable to open project file: <n>" and changes nothing. True when read.
bool OpenProjectFile(MonitorState& state, const std::string& path);
// Writes the project to ProjectFile (the lists collected from the control
// panel's grid while it is loaded); caption, unchanged, newest recent
// project. A failed write shows "Unable to write project file: <n>", leaves
// the previous file as it was and changes nothing else. True when written.
bool WriteProjectFile(MonitorState& state);

// "Tavix", or "Tavix" and ProjectFile after a blank.
std::string ProjectCaption(const MonitorState& state);

// The recent projects ("RecentProj1" … "RecentProj4" in "Recent Projects",
// shown in the main window's mnuRecentProj items).
void AddRecentProject(MonitorState& state, const std::string& path);
bool UpdateRecentProjectMenu(MonitorState& state, const std::string& path);
void StoreRecentProjects(const std::string& path);
void LoadRecentProjects(MonitorState& state);

// The control panel's options taken back at its unload: kept, and the
// project changed, only when the project it was opened for (ProjectSerial
// at its load) is still the current one. True when kept.
bool StorePanelOptions(MonitorState& state, uint32_t serialAtLoad, const std::string& options);

}  // namespace monitor
