// German.
#include "language_texts.h"

const LanguageTexts kTexts = {
    "FEHLER B102: Setup kann nur einmal zur gleichen Zeit laufen.",
    "Setup",
    "SCHWERER FEHLER B104: \"%s\"\rkonnte nicht gestartet werden.\nFehlercode = %d.",
    "Setup",
    "%sSetup bereitet die Installation vor. Bitte warten...",
    "Setup-Sprache",
    "W\xC3\xA4hlen Sie die Sprache der Installation:",
    "OK",
    "Abbrechen",
};
