#pragma once
#include <stdexcept>
#include <string>

namespace platform {

// The system's one numbered error: a run-time error number as the monitor and
// its layers raise it (6 overflow, 52…76 file errors, the port's and the
// links' errors from 31988 on, 32755 cancel), an optional source line (0
// where none) and the text shown to the user. The handler that a procedure
// names catches it.
class RunTimeError : public std::runtime_error {
public:
    RunTimeError(int number, std::string description, int line = 0)
        : std::runtime_error(std::move(description)), number_(number), line_(line) {}

    int Number() const { return number_; }
    int Line() const { return line_; }
    std::string Description() const { return what(); }

private:
    int number_;
    int line_;
};

}  // namespace platform
