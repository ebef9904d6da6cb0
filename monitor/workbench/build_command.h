#pragma once
// The build commands: Build > Build Project and Build > Assemble start the
// assembler K42xxasm of the program folder, detached, with one argument
// "/D/s" and the source path without its ".ASM". The assembler reports every
// line over the build-output link into BuildOut.
#include <string>
#include <vector>

namespace monitor {

class Workbench;

// The arguments of the assembler for a source, or the reason it is refused
// (then `arguments` is empty). The source lies where ProjectSourcePath
// (core/project_source.h) puts it for `projectFile`.
struct AssemblerCommand {
  std::vector<std::string> arguments;
  std::string refusal;
};
AssemblerCommand AssemblerArguments(const std::string& sourcePath, const std::string& projectFile);

// Build > Assemble: saves the changed editors, asks for a source
// ("Assembler Source File") and builds it. A cancelled dialog, "*.asm" left
// as it was, or a name without ".ASM" does nothing.
void LaunchAssembler(Workbench& bench);
// Build > Build Project: saves the changed editors and builds the project's
// source; says why when there is none or it is not an ".ASM" file.
void BuildProject(Workbench& bench);

// Registers BuildOut and binds BuildProject and LaunchAssembler, so the
// Build menus of the main window and the editors are live.
void BindBuilds(Workbench& bench);

}  // namespace monitor
