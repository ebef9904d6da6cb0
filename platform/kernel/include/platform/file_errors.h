#pragma once
// File errors as the monitor numbers them: one table from errno to the
// run-time error numbers of file operations.
#include <string>

#include "platform/run_time_error.h"

namespace platform {

enum FileErrorNumber : int {
  kBadFileNameOrNumber = 52,
  kFileNotFound = 53,
  kBadFileMode = 54,
  kFileAlreadyOpen = 55,
  kDeviceIoError = 57,
  kInputPastEndOfFile = 62,
  kBadFileName = 64,
  kDeviceUnavailable = 68,
  kDiskNotReady = 71,
  kPathFileAccessError = 75,
  kPathNotFound = 76,
};

// The number for an errno value; an errno the table does not name is a path
// or file access error (75).
int FileErrorNumberOf(int errnoValue);
// The same for an operation on `path`: a missing file in a folder that does
// not exist is a missing path (76), in an existing folder a missing file (53).
int FileErrorNumberOf(int errnoValue, const std::string& path);

// The error for a failed file operation on `path`, with the system's text.
RunTimeError FileError(int errnoValue, const std::string& path);

}  // namespace platform
