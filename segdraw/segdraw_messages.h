#pragma once
// The texts of the segment editor's message boxes.
#include <string>

namespace segdraw {

inline const std::string kBadDefinition = "Unable to open definition\nInvalid file format of corrupted file (bmp)";
inline const std::string kCannotRead = "Unable to read the file\n";
inline const std::string kCannotWrite = "Unable to write the file\n";
inline const std::string kCannotWriteAllocation =
    "Unable to save definition\nThe allocation table does not fit: check Segments/Multiplexer";

}  // namespace segdraw
