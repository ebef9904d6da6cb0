// English.
#include "language_texts.h"

const LanguageTexts kTexts = {
    "ERROR B102: You can run only one instance of Setup at the same time.",
    "Setup",
    "FATAL ERROR B104: Couldn't execute\r\"%s\".\nError code = %d.",
    "Setup",
    "%sSetup is preparing the installation. Please wait...",
    "Setup Language",
    "Select the language of the installation:",
    "OK",
    "Cancel",
};
