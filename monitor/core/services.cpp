#include "core/services.h"

#include <map>

namespace monitor {

bool Services::Bound(const std::string& operation) const {
  const std::map<std::string, bool> bound = {
      {"UpdateTraceWindow", debug.UpdateTraceWindow != nullptr},
      {"ShowFindDialog", debug.ShowFindDialog != nullptr},
      {"FindNextInView", debug.FindNextInView != nullptr},
      {"FillLabelList", debug.FillLabelList != nullptr},
      {"LoadRecentProjects", workbench.LoadRecentProjects != nullptr},
      {"LoadRecentFileList", workbench.LoadRecentFileList != nullptr},
      {"AskSaveProject", workbench.AskSaveProject != nullptr},
      {"SaveProjectCommand", workbench.SaveProjectCommand != nullptr},
      {"NewProject", workbench.NewProject != nullptr},
      {"OpenProjectCommand", workbench.OpenProjectCommand != nullptr},
      {"SaveProject", workbench.SaveProject != nullptr},
      {"SaveProjectAs", workbench.SaveProjectAs != nullptr},
      {"CloseProject", workbench.CloseProject != nullptr},
      {"OpenProjectFile", workbench.OpenProjectFile != nullptr},
      {"ApplyBreakpointLine", workbench.ApplyBreakpointLine != nullptr},
      {"ApplyTracepointLine", workbench.ApplyTracepointLine != nullptr},
      {"OpenNewEditor", workbench.OpenNewEditor != nullptr},
      {"LoadSourceFile", workbench.LoadSourceFile != nullptr},
      {"ShowOpenFileDialog", workbench.ShowOpenFileDialog != nullptr},
      {"QuerySaveDocuments", workbench.QuerySaveDocuments != nullptr},
      {"BuildProject", workbench.BuildProject != nullptr},
      {"LaunchAssembler", workbench.LaunchAssembler != nullptr},
      {"DisassembleBinary", workbench.DisassembleBinary != nullptr},
      {"ConvertCodToBin", workbench.ConvertCodToBin != nullptr},
  };
  auto it = bound.find(operation);
  return it != bound.end() && it->second;
}

int16_t Services::AskSaveProject() const {
  // No project can be changed while the project commands are missing.
  return workbench.AskSaveProject ? workbench.AskSaveProject() : int16_t{7};
}

std::optional<int16_t> Services::SaveProjectCommand() const {
  if (workbench.SaveProjectCommand) return workbench.SaveProjectCommand();
  return std::nullopt;
}

}  // namespace monitor
