#pragma once
// The workbench with the builds bound, and a client that pokes chosen lines
// over the real link from a second thread.
#include <string>
#include <vector>

#include "workbench/buildout.h"
#include "workbench_fixture.h"

namespace buildtest {

using Rows = std::vector<std::string>;

class BuildTest : public monitortest::WorkbenchTest {
 protected:
  BuildTest();

  monitor::BuildOut* Out() const;
  monitor::BuildOut* LoadOut();
  Rows Lines() const;
  // Double-click or Enter on a row of ErrorList.
  void DoubleClick(int row);
  void Enter(int row);

  // Pokes the lines to `item` over one conversation while the event loop
  // runs: the result of each poke, none when the conversation was refused.
  std::vector<bool> Poke(const Rows& lines, const std::string& item = "Monlink");

  // The real assembler, its tables, library and TAVIX.INI in the program folder.
  void InstallAssembler();
  // Waits (10 s at most) until a " Errors" line is listed and every
  // conversation has closed; fails with the list otherwise.
  void WaitForBuild();
};

}  // namespace buildtest
