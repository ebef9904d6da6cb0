#pragma once
// Texts of the setup programs: a formatter that never takes a text as a
// printf format, and the splitting of a command-line text into words.
#include <string>
#include <vector>

namespace setup {

// Replaces each "%s", "%d" or "%u" (with an optional 'l') of `format` by the
// next argument in turn and "%%" by "%"; a directive without an argument
// becomes empty.
std::string FormatText(const std::string& format, const std::vector<std::string>& arguments);

// Splits a command-line text into words: blanks separate, double quotes
// group and are dropped.
std::vector<std::string> SplitCommandLine(const std::string& text);

}  // namespace setup
