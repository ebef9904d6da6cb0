#pragma once
// The checked open of a data file for output, and the file errors' messages:
// shared by the windows that save what they show.
#include <memory>
#include <string>

#include "platform/atomic_write.h"

namespace monitor {

// Opens a data file for output (mode 1), asking before it replaces or
// creates one when `ask` is not 0. The file's own name must not hold
// ";<=>?[*]" or a blank (folders may). The content goes to a temporary file
// that replaces the file only when it is committed, so a failed save keeps the
// previous file. Null when nothing was opened (a refused name, a question
// cancelled, an error given up); `unreported`, when given, then receives the
// errno of a failure that ReportFileError had no message for (else 0). Other
// modes open nothing and give null.
std::unique_ptr<platform::AtomicFile> OpenFileChecked(const std::string& name, int mode,
                                                      int recordLength, int ask,
                                                      int* unreported = nullptr);
// Shows the file error's message ("File Error"): 0 retry, 1 ignore, 2 give
// up; 3 without a message for an error the table does not name.
int ReportFileError(int errorNumber);

}  // namespace monitor
