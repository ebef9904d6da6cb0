#pragma once
// The outside checksum library STD73XX of the program folder, bound by name
// at the first call that finds it and kept for the life of the process.
#include <string>

namespace pelto {

// Turns a ".rom" file into its ".rob" file; 0 when done. Throws
// platform::RunTimeError when the library or its export is missing.
int Rom2Rob(const std::string& romPath);

// The program size in words (0 empty, -1 no checksum, -2 no file), with the
// checksum as hexadecimal text at the start of `text`. Throws as Rom2Rob.
int PeltoChecksum(int romWords, const std::string& path, std::string& text);

}  // namespace pelto
