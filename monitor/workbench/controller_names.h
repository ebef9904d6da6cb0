#pragma once
// The controllers the target interface module STDK42XX knows: the keys of
// the "Controllers" section of the program folder's TAVIX.INI, in file order.
#include <string>
#include <vector>

namespace monitor {

// Enumerates GetController with 1, 2, 3 … until -1, each time with a buffer
// of 255 NUL bytes and length 255, each name up to its first NUL. A module
// that cannot be loaded raises run-time error 53, a missing export 453.
std::vector<std::string> ReadControllerNames(const std::string& programPath);

}  // namespace monitor
