#pragma once
// The language: the user's locale as a language identifier, the key chosen
// from SETUP.LNG, and the language dialog.
#include <string>

#include "language_library.h"

namespace vanstall {

// "%04X".
std::string LanguageKey(unsigned id);
// Text read as hexadecimal; 0 when it holds none.
unsigned ReadHex(const std::string& text);

// The identifier of a POSIX locale name ("fr_CA.UTF-8" gives 0x0C0C); a
// language alone gives its main country's; unknown, "C" and "POSIX" give 0x0409.
unsigned LanguageIdOfLocale(const std::string& locale);
// The user's default: LC_ALL, else LC_MESSAGES, else LANG.
unsigned UserDefaultLanguage();

// The key for identifier `id` with default `fallback`, looked up in [Language]
// of SETUP.LNG: `id`, then its main language when it names a sublanguage,
// then the default, or the section's first key when the default is 0. `id`
// receives the identifier of the key found (or of the last one tried).
std::string ChooseLanguageKey(const std::string& lngFile, unsigned& id, unsigned fallback);

// Shows dialog 3 of the library modally with the languages of SETUP.LNG,
// the current key selected. Returns 1 (OK or a double click), 2 (Cancel), or
// -1 when the dialog cannot be shown. In every case but the last, `key`
// becomes that of the selected language, and stays when none is selected.
int RunLanguageDialog(LanguageLibrary& library, const std::string& lngFile, std::string& key);

}  // namespace vanstall
