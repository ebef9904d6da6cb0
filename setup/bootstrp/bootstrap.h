#pragma once
// The setup loader Vanstall: finds the archive appended to its own program
// file, makes a temporary folder, picks the language, unpacks the second
// stage and the language files with a progress gauge, starts the second
// stage, waits for it and deletes what it unpacked.
#include <memory>
#include <string>
#include <vector>

#include "dcs/dcs.h"
#include "language_library.h"

namespace vanstall {

class ProgressWindow;

struct Bootstrap {
  Bootstrap();
  ~Bootstrap();
  Bootstrap(const Bootstrap&) = delete;
  Bootstrap& operator=(const Bootstrap&) = delete;

  std::string modulePath;   // the loader's own program file
  std::string setupFolder;  // its folder, with a trailing '/'
  std::string tempFolder;   // RVSETUP<n>.TMP, without a trailing '/'
  int tempLock = -1;        // holds the temporary folder until it is removed
  std::vector<std::string> arguments;
  unsigned languageId = 0;
  bool forcedLanguage = false;
  std::string languageKey;  // "%04X" of the language identifier
  DcsArchive* archive = nullptr;
  LanguageLibrary language;
  std::unique_ptr<ProgressWindow> progress;
  int completedSteps = 0;
  int lastPercent = -1;
  int secondStage = -1;  // its process id while it runs
};

// Runs the loader with the program's arguments; true when the second stage
// installed (ended with 0), false when it failed or the loader ended early.
bool RunBootstrap(Bootstrap& b, const std::vector<std::string>& arguments);
// Clears the archive library's last error and deletes the unpacked files.
void ExitBootstrap(Bootstrap& b);
// Closes the progress window, frees the language library, deletes the files
// the loader and the second stage leave in the temporary folder and the
// folder, and lets the folder's name go to other loaders.
void DeleteBootFiles(Bootstrap& b);

// The progress callback of the second opening: two steps, 0-50 and 50-100.
int ProgressCallback(int code, void* record, intptr_t user);
// The gauge position for a progress record after `completedSteps` steps.
int ProgressPercent(int completedSteps, uint64_t written, uint64_t size);

// Lets the window's waiting events run.
void PumpMessages();

}  // namespace vanstall
