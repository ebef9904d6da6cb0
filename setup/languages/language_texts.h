#pragma once
// The texts of one loader language library; each language defines kTexts.
struct LanguageTexts {
  const char* previousInstance;  // string 2
  const char* previousCaption;   // string 3
  const char* startFailure;      // string 5: the command line (%s), the error code (%d)
  const char* progressCaption;   // dialog 1
  const char* progressText;      // dialog 1, text 101: the application's name and a blank (%s)
  const char* languageCaption;   // dialog 3
  const char* languagePrompt;
  const char* ok;
  const char* cancel;
};

extern const LanguageTexts kTexts;
