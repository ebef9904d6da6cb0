// K42xxasm: with "/D" a hidden build that reports every line to the monitor
// over the build-output link; without it the same build followed by the
// debug window.
#include <cstdio>
#include <cstdlib>

#include "assembler.h"
#include "command_line.h"
#include "debug_window/debug_window_api.h"
#include "platform/filenames.h"
#include "platform/library.h"
#include "platform/link_client.h"
#include "platform/messagebox.h"

namespace {

std::vector<const char*> Pointers(const std::vector<std::string>& texts) {
  std::vector<const char*> p;
  for (const std::string& t : texts) p.push_back(t.c_str());
  return p;
}

// Without an error file the build has nowhere to say why it stopped.
void ReportUncreatedErrorFile(const k42asm::Assembler& assembler, int status) {
  if (status == k42asm::kErrorFileNotCreated)
    std::fprintf(stderr, "K42xxasm: cannot create the error file %s\n",
                 assembler.errorFilePath().c_str());
}

int RunLinked(const k42asm::CommandLine& command, const std::string& folder) {
  platform::LinkClient link;
  // A monitor that does not listen is no reason to stop the build.
  link.Open("TAVIX", "BuildOut", "Monlink", 100);
  k42asm::RunEnvironment env;
  env.linkMode = true;
  env.programFolder = folder;
  env.poke = [&link](const std::string& line) { link.Poke(line); };
  env.beep = platform::Beep;
  k42asm::Assembler assembler(env);
  int status = assembler.Run(command.source, command.hasSource);
  link.Close();
  ReportUncreatedErrorFile(assembler, status);
  return status;
}

int RunWithWindow(const k42asm::CommandLine& command, const std::string& folder) {
  platform::LibraryHandle gui = platform::LoadLibrary(ASM_WINDOW_LIBRARY, folder);
  auto open = gui ? reinterpret_cast<AsmWindowOpenFunction>(
                        platform::GetProcAddress(gui, "K42xxasmWindowOpen"))
                  : nullptr;
  auto box = gui ? reinterpret_cast<AsmWindowMessageBoxFunction>(
                       platform::GetProcAddress(gui, "K42xxasmWindowMessageBox"))
                 : nullptr;
  auto create = gui ? reinterpret_cast<AsmWindowCreateFunction>(
                          platform::GetProcAddress(gui, "K42xxasmWindowCreate"))
                    : nullptr;
  auto run = gui ? reinterpret_cast<AsmWindowRunFunction>(
                       platform::GetProcAddress(gui, "K42xxasmWindowRun"))
                 : nullptr;
  const bool loaded = open && box && create && run;
  if (loaded && open() == 0) {
    std::fprintf(stderr, "K42xxasm: the debug window needs a display; /D builds without it\n");
    return EXIT_FAILURE;
  }
  bool windowed = loaded;
  if (windowed)
    platform::SetMessageBoxHook(
        [box](const std::string& text, const std::string& title, unsigned style) {
          return static_cast<int>(box(text.c_str(), title.c_str(), style));
        });
  else
    std::fprintf(stderr, "K42xxasm: the debug window is not available (%s)\n",
                 platform::LastLibraryError().c_str());

  k42asm::RunEnvironment env;
  env.programFolder = folder;
  env.beep = platform::Beep;
  k42asm::Assembler assembler(env);
  int status = 0;
  if (!command.empty) status = assembler.Run(command.source, command.hasSource);
  ReportUncreatedErrorFile(assembler, status);
  if (!windowed) return status;

  std::vector<std::string> symbols = assembler.symbolNames(), publics = assembler.publicNames(),
                           macros = assembler.macroNames();
  std::vector<const char*> s = Pointers(symbols), p = Pointers(publics), m = Pointers(macros);
  AsmWindowContent content{
      assembler.debugCaption().c_str(), s.data(), static_cast<int32_t>(s.size()), p.data(),
      static_cast<int32_t>(p.size()),   m.data(), static_cast<int32_t>(m.size())};
  run(create(&content));
  platform::SetMessageBoxHook(nullptr);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  k42asm::CommandLine command = k42asm::ParseCommandLine(k42asm::JoinArguments(argc, argv));
  std::string folder = platform::ProgramPath();
  return command.linkMode ? RunLinked(command, folder) : RunWithWindow(command, folder);
}
