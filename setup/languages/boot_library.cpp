// A loader language library: its strings by number and its two dialogs,
// over the texts of its language.
#include <cstring>

#include "language_texts.h"
#include "setup/boot_language.h"

namespace {

// Strings that are the same in every language: the second stage's argument
// (the loader's path) and its program file.
constexpr const char* kSecondStageArguments = "\"/b%s\"";
constexpr const char* kSecondStageProgram = "RVSETUP.EXE";

const char* StringText(unsigned id) {
  switch (id) {
    case setup::kStrPreviousInstance:
      return kTexts.previousInstance;
    case setup::kStrPreviousCaption:
      return kTexts.previousCaption;
    case setup::kStrStartFailure:
      return kTexts.startFailure;
    case setup::kStrSecondStageArguments:
      return kSecondStageArguments;
    case setup::kStrSecondStageProgram:
      return kSecondStageProgram;
    default:
      return nullptr;
  }
}

const BootControl kProgressControls[] = {
    {setup::kIdText, kBootText, kTexts.progressText, 10, 10, 200, 20},
    {setup::kIdGauge, kBootGauge, "", 10, 36, 200, 12},
};
const BootControl kLanguageControls[] = {
    {-1, kBootText, kTexts.languagePrompt, 10, 8, 160, 10},
    {setup::kIdText, kBootList, "", 10, 22, 160, 60},
    {1, kBootOk, kTexts.ok, 40, 88, 50, 14},
    {2, kBootCancel, kTexts.cancel, 100, 88, 50, 14},
};
const BootDialog kDialogs[] = {
    {setup::kProgressDialog, kTexts.progressCaption, 220, 58, 2, kProgressControls},
    {setup::kLanguageDialog, kTexts.languageCaption, 180, 110, 4, kLanguageControls},
};

}  // namespace

extern "C" __attribute__((visibility("default"))) int BootLoadString(unsigned id, char* buffer,
                                                                     int size) {
  const char* text = StringText(id);
  if (!text || !buffer || size <= 0) return 0;
  const int length = static_cast<int>(std::strlen(text));
  const int copied = length < size - 1 ? length : size - 1;
  std::memcpy(buffer, text, static_cast<size_t>(copied));
  buffer[copied] = '\0';
  return copied;
}

extern "C" __attribute__((visibility("default"))) const BootDialog* BootGetDialog(unsigned id) {
  for (const BootDialog& d : kDialogs) {
    if (d.id == id) return &d;
  }
  return nullptr;
}
