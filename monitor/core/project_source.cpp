#include "core/project_source.h"

#include "core/monitor_state.h"
#include "platform/filenames.h"

namespace monitor {

std::string ProjectSourcePath(const std::string& sourceFile, const std::string& projectFile) {
  if (sourceFile.empty() || sourceFile.find('/') != std::string::npos) return sourceFile;
  return platform::FolderOf(projectFile) + sourceFile;
}

std::string ProjectSourcePath(const MonitorState& state) {
  return ProjectSourcePath(state.SourceFile, state.ProjectFile);
}

}  // namespace monitor
