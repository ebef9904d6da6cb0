#pragma once
// What a loader language library (BOOT<key>.DLL) exports: its strings by
// number and the descriptions of its dialogs, from which the loader builds
// its windows, so that every text the user sees comes from the library.
#include <cstdint>

extern "C" {

// Control kinds of a dialog description.
enum BootControlKind : int {
  kBootText = 0,    // static text
  kBootGauge = 1,   // a VXQBootGauge
  kBootList = 2,    // a single-selection list
  kBootOk = 3,      // the default push button, id 1
  kBootCancel = 4,  // the cancel push button, id 2
};

struct BootControl {
  int id;
  int kind;
  const char* text;
  int x, y, width, height;  // dialog units
};

struct BootDialog {
  unsigned id;
  const char* caption;
  int width, height;  // dialog units
  int controlCount;
  const BootControl* controls;
};

// Copies string `id` into `buffer` (at most `size` - 1 characters and a NUL);
// returns the characters copied, 0 for an unknown string.
int BootLoadString(unsigned id, char* buffer, int size);
// The description of dialog `id`, or null.
const BootDialog* BootGetDialog(unsigned id);
}

// Numbers of the strings and dialogs the loader uses.
namespace setup {
inline constexpr unsigned kStrPreviousInstance = 2;
inline constexpr unsigned kStrPreviousCaption = 3;
inline constexpr unsigned kStrStartFailure = 5;
inline constexpr unsigned kStrSecondStageArguments = 7;
inline constexpr unsigned kStrSecondStageProgram = 9;
inline constexpr unsigned kProgressDialog = 1;
inline constexpr unsigned kLanguageDialog = 3;
inline constexpr int kIdText = 101;  // dialog 1: the text; dialog 3: the list
inline constexpr int kIdGauge = 102;
}  // namespace setup
