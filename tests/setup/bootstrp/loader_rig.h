#pragma once
// A setup package made at test time: the real loader with an archive built
// by dcsbuild appended to a copy of it, run as a process without a person.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "temp_dir.h"

namespace loadertest {

struct Outcome {
  int exitCode = -1;
  std::string errors;  // the boxes, one line each
  std::string log;     // what the test second stage logged ("" when it never ran)
};

class LoaderRig {
 public:
  LoaderRig();
  // Entry name -> file; by default the setup files with one language
  // (English) and the test second stage as RVSETUP.EXE.
  std::map<std::string, std::string> entries;
  std::string method = "0";  // of every entry: stored, or "5" for bzip2 streams
  // Writes SETUP.LNG with this text and carries it.
  void SetLanguages(const std::string& lngText);
  // Builds the package; `corrupt`, when given, names an entry whose stored
  // data gets one byte changed.
  void Build(const std::string& corrupt = "");
  // `whileStageRuns`, when given, is called with the loader's process id
  // once the second stage has logged, or once `ready` holds (polled each ms).
  // The loader leads a process group of its own.
  Outcome Start(const std::vector<std::string>& arguments,
                const std::map<std::string, std::string>& env = {},
                const std::function<void(long pid)>& whileStageRuns = nullptr,
                const std::function<bool()>& ready = nullptr);

  testsupport::TempDir work;  // the package and its inputs
  testsupport::TempDir temp;  // TEMP of the runs
  std::string package;
};

}  // namespace loadertest
