#pragma once
// The workbench with the builds bound, the build-output window and a client
// that pokes chosen lines over the real link from a second thread.
#include <string>
#include <vector>

#include "workbench/buildout.h"
#include "workbench_fixture.h"

namespace buildtest {

class BuildTest : public monitortest::WorkbenchTest {
 protected:
  BuildTest();

  monitor::BuildOut* Out() const;
  // The window as a build loads it.
  monitor::BuildOut* LoadOut();
  std::vector<std::string> Lines() const;

  // Pokes the lines to `item` over one conversation, as the assembler does,
  // while the event loop runs: the result of each poke (false when the
  // conversation could not be opened at all: an empty result).
  std::vector<bool> Poke(const std::vector<std::string>& lines, const std::string& item = "Monlink");

  // The real assembler, its tables, disassembler library and TAVIX.INI in
  // the program folder.
  void InstallAssembler();
  // Waits (10 s at most) until a build's " Errors" line is listed and every
  // conversation has closed; fails with the list otherwise.
  void WaitForBuild();
};

}  // namespace buildtest
